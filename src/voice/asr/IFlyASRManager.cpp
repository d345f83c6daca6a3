#include "IFlyASRManager.h"

#include "DataPaths.h"
#include "MainThread.h"
#include "PZLog.h"

#include <atomic>

namespace {

std::atomic<IFlyASRManager *> g_installed{nullptr};

// The SDK's own stop mode for "end the utterance now".
constexpr int kStopNow = 0;

} // namespace

struct IFlyASRManager::Shared {
    std::mutex mutex;
    bool shutDown = false;
    RecognitionResultBlock block;

    bool isShutDown()
    {
        std::lock_guard lock(mutex);
        return shutDown;
    }
};

IFlyASRManager::Settings IFlyASRManager::defaultSettings()
{
    Settings s;
    s.sdk.appId = QStringLiteral("7c2d91fa");
    s.sdk.apiKey = QStringLiteral("9f1c6b2e8a4d7035c1e9b6a2f4d8e017");
    s.sdk.apiSecret = QStringLiteral("3b8e5d1a7c9f2e4060d3a8b5c7e1f924");
    s.sdk.workDir = DataPaths::getFilePath(QStringLiteral("SparkChain"));
    s.sdk.logLevel = 100;
    s.recogniser.language = QStringLiteral("zh_cn");
    s.recogniser.domain = QStringLiteral("iat");
    s.recogniser.accent = QStringLiteral("mandarin");
    s.recogniser.rlang = QStringLiteral("zh-cn");
    s.recogniser.vadEos = 6000;
    s.recogniser.ptt = true;
    s.recogniser.dwa = QStringLiteral("wpgs");
    return s; // audio: 16 kHz raw mono 16-bit, the attribute defaults
}

IFlyASRManager::IFlyASRManager(platform::IAsrSdkEngine &engine, const Settings &settings)
    : m_engine(engine), m_settings(settings), m_shared(std::make_shared<Shared>())
{
    if (!DataPaths::ensureDir(m_settings.sdk.workDir))
        qxWarning("voice") << "the speech SDK's work folder cannot be made:" << m_settings.sdk.workDir;
    const int result = m_engine.init(m_settings.sdk);
    if (result != 0) {
        qxWarning("voice") << "the speech SDK did not initialise (" << result << "); it will not recognise";
        return;
    }
    m_hasRecogniser = m_engine.createRecogniser(m_settings.recogniser);
    if (!m_hasRecogniser) {
        qxWarning("voice") << "the speech SDK made no recogniser; it will not recognise";
        return;
    }
    attachResultHandler();
}

IFlyASRManager::~IFlyASRManager()
{
    shutdownSparkChainBeforeTermination();
    IFlyASRManager *self = this;
    g_installed.compare_exchange_strong(self, nullptr);
}

IFlyASRManager *IFlyASRManager::sharedInstance()
{
    return g_installed.load();
}

IFlyASRManager *IFlyASRManager::setSharedInstance(IFlyASRManager *manager)
{
    return g_installed.exchange(manager);
}

void IFlyASRManager::attachResultHandler()
{
    std::weak_ptr<Shared> weak = m_shared;
    m_engine.setResultHandler([weak](int status, const QString &text) {
        const std::shared_ptr<Shared> shared = weak.lock();
        if (!shared)
            return;
        RecognitionResultBlock block;
        {
            std::lock_guard lock(shared->mutex);
            if (shared->shutDown)
                return;
            block = shared->block;
        }
        if (!block)
            return;
        postToMainThread([shared, block = std::move(block), status, text] {
            if (!shared->isShutDown())
                block(status, text);
        });
    });
}

void IFlyASRManager::configureAsrWithRlang(const QString &rlang, bool ptt)
{
    std::lock_guard lock(m_mutex);
    if (m_shared->isShutDown() || !m_hasRecogniser)
        return;
    if (!rlang.isEmpty())
        m_engine.setRlang(rlang);
    m_engine.setPtt(ptt);
}

bool IFlyASRManager::startAsr()
{
    std::lock_guard lock(m_mutex);
    if (m_shared->isShutDown() || !m_hasRecogniser)
        return false;
    if (m_isAsrRunning) {
        m_engine.stop(kStopNow);
        m_isAsrRunning = false;
    }
    attachResultHandler();
    const int result = m_engine.start(m_settings.audio);
    if (result != 0) {
        qxWarning("voice") << "the speech SDK did not start a recognition (" << result << ")";
        return false;
    }
    m_isAsrRunning = true;
    return true;
}

bool IFlyASRManager::stopAsr()
{
    std::lock_guard lock(m_mutex);
    if (m_shared->isShutDown() || !m_isAsrRunning)
        return true;
    if (m_engine.stop(kStopNow) != 0)
        return false;
    m_isAsrRunning = false;
    return true;
}

void IFlyASRManager::sendPcmData(QByteArrayView pcm)
{
    std::lock_guard lock(m_mutex);
    if (m_shared->isShutDown() || !m_isAsrRunning)
        return;
    m_engine.write(pcm);
}

void IFlyASRManager::setRecognitionResultBlock(RecognitionResultBlock block)
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->block = std::move(block);
}

IFlyASRManager::RecognitionResultBlock IFlyASRManager::recognitionResultBlock() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->block;
}

void IFlyASRManager::shutdownSparkChainBeforeTermination()
{
    std::lock_guard lock(m_mutex);
    if (m_shared->isShutDown())
        return;
    if (m_hasRecogniser)
        m_engine.stop(kStopNow);
    m_isAsrRunning = false;
    {
        std::lock_guard blockLock(m_shared->mutex);
        m_shared->block = {};
    }
    if (m_hasRecogniser)
        m_engine.setResultHandler({});
    m_engine.uninit();
    std::lock_guard flagLock(m_shared->mutex);
    m_shared->shutDown = true;
}

bool IFlyASRManager::isAsrRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_isAsrRunning;
}
