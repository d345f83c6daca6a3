#include "QXWebApiAsrService.h"

#include "HRVLocalizedString.h"
#include "IFlyASRManager.h"
#include "PZLog.h"
#include "PZString.h"
#include "QXLanguageManager.h"
#include "QXMouseCommandManager.h"
#include "QXServiceEndpoints.h"
#include "QXToolManager.h"
#include "QXUserInfoData.h"
#include "platform/IAudioInput.h"
#include "services/IVoiceKeyDispatcher.h"
#include "services/VoiceKeyState.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QWebSocket>

#include <utility>

namespace {

constexpr quint64 kPointerMouseType = 206;

QString pcmPath()
{
    return QXToolManager::getFilePath(QStringLiteral("/%1.pcm").arg(QStringLiteral("Test")));
}

QString wavPath()
{
    return QXToolManager::getFilePath(QStringLiteral("/%1.wav").arg(QStringLiteral("Test")));
}

QString newClientId()
{
    return QStringLiteral("clientId%1").arg(Scheduler::instance().clock().secondsSinceEpoch());
}

// A value the frame needs but the device or machine did not give: sent as "", said once.
QString orEmptyLogged(const QString &value, const char *what)
{
    if (value.isEmpty())
        qxLogOnce(QStringLiteral("asr.missing.") + QLatin1String(what),
                  QStringLiteral("[asr] no %1 known; frames carry \"\"").arg(QLatin1String(what)));
    return value;
}

} // namespace

QXWebApiAsrService::QXWebApiAsrService(Deps deps, QObject *parent) : QObject(parent), m_deps(std::move(deps))
{
    Q_ASSERT(m_deps.state && m_deps.languages && m_deps.device);
}

QXWebApiAsrService::~QXWebApiAsrService()
{
    Scheduler &s = Scheduler::instance();
    cancelTimer(s, m_manualEndTimer);
    cancelTimer(s, m_wavDeleteTimer);
    if (m_source == Source::Microphone && microphone())
        microphone()->stop();
    dropSocket();
}

// --- neighbours ---------------------------------------------------------------------

QXUserInfoData &QXWebApiAsrService::state() const
{
    return *m_deps.state;
}

QXLanguageManager &QXWebApiAsrService::languages() const
{
    return *m_deps.languages;
}

QXMouseCommandManager &QXWebApiAsrService::device() const
{
    return *m_deps.device;
}

platform::IAudioInput *QXWebApiAsrService::microphone() const
{
    return m_deps.microphone;
}

IFlyASRManager *QXWebApiAsrService::sdk() const
{
    return m_deps.sdk;
}

bool QXWebApiAsrService::deviceStreams() const
{
    return m_deps.keys && m_deps.keys->isStartVoice();
}

AsrAudioFormat QXWebApiAsrService::deviceAudioFormat() const
{
    return m_deps.deviceAudioFormat ? m_deps.deviceAudioFormat() : device().voiceStreamFormat();
}

bool QXWebApiAsrService::isPointerMicMode() const
{
    const QXUserInfoData &s = state();
    const int press = m_deps.pressType ? m_deps.pressType() : 0;
    return s.isLaser() && s.isVoice() && s.laserPenVoiceFunctionIndex() == 0 && press == presstype::kTypingDown;
}

// --- start, end, cancel -------------------------------------------------------------

void QXWebApiAsrService::beginAsrIsTransferAudio(bool isTransferAudio, ResultBlock callback)
{
    QMetaObject::invokeMethod(
        this,
        [this, isTransferAudio, callback = std::move(callback)]() mutable {
            start(isTransferAudio, std::move(callback));
        },
        Qt::QueuedConnection);
}

void QXWebApiAsrService::endAsr()
{
    QMetaObject::invokeMethod(
        this, [this] { finish(); }, Qt::QueuedConnection);
}

void QXWebApiAsrService::cancelAsr()
{
    QMetaObject::invokeMethod(
        this, [this] { cancel(); }, Qt::QueuedConnection);
}

void QXWebApiAsrService::start(bool isTransferAudio, ResultBlock callback)
{
    if (m_shutdown) {
        qxInfo("asr") << "recognition asked for after shutdown; ignored";
        return;
    }
    m_isTransferAudio = isTransferAudio;
    m_result.clear();
    m_lastData.clear();
    // A file's chunks were queued for this very start; a live recognition drops them.
    if (isTransferAudio)
        m_clientId = newClientId();
    else
        m_transcription.clear();
    invalidateTimer();
    // The reply window of the previous recognition must not close this one's.
    cancelTimer(Scheduler::instance(), m_manualEndTimer);
    m_isEnd = m_isCancel = m_manualEnd = false;
    m_endFrameSent = m_transferEnded = m_sdkSession = m_badReplyLogged = false;
    m_source = Source::None;
    m_audioResultBlock = std::move(callback);

    m_pointerMicMode = !isTransferAudio && isPointerMicMode();
    if (m_pointerMicMode) {
        startRecord();
        return;
    }
    // (The settings select the SDK only where an engine for it is registered.)
    if (!isTransferAudio && state().isIFlyAsr() && sdk()) {
        startSdk();
        return;
    }
    requestWebSocket();
}

void QXWebApiAsrService::startSdk()
{
    QXLanguageManager &lang = languages();
    QString code = lang.readAudioLanguageCode();
    const QJsonArray list = lang.audioLanguageArr();
    const quint64 index = lang.audioLanguageIndex();
    const QString name = index < quint64(list.size())
                             ? list.at(qsizetype(index)).toObject().value(QLatin1String("name")).toString()
                             : QString();
    if (code == QLatin1String("ZH_TW") || name.contains(QStringLiteral("繁体")))
        code = QStringLiteral("zh-hk");
    QPointer<QXWebApiAsrService> self(this);
    sdk()->setRecognitionResultBlock([self](int status, const QString &text) {
        if (self)
            self->sdkResult(status, text);
    });
    sdk()->configureAsrWithRlang(code, state().punctuationSwitch());
    if (!sdk()->startAsr()) {
        // Talking to an engine that never started would look like a recognition that hears nothing.
        writeLog(QStringLiteral("语音引擎启动失败"));
        if (m_deps.showSpeechView)
            m_deps.showSpeechView(hrvAppLocalizedString(QStringLiteral("连接服务器失败,请检查网络")), 0);
        return;
    }
    m_sdkSession = true;
    startRecord();
}

void QXWebApiAsrService::finish()
{
    if (m_shutdown)
        return;
    m_isEnd = true;
    if (m_source == Source::Microphone && microphone() && microphone()->isRecording())
        microphone()->stop(); // its last chunk arrives before this returns
    // A microphone with nothing left to hand over still leaves a finished recording.
    if (m_source == Source::Microphone && !(microphone() && microphone()->isRecording()))
        finishRecording();
    Scheduler &s = Scheduler::instance();
    cancelTimer(s, m_manualEndTimer);
    m_manualEndTimer = s.singleShot(
        kReplyWindowMs,
        [this] {
            m_manualEndTimer = Scheduler::kNoTimer;
            m_manualEnd = true;
            dropQueued();
        },
        this);
    if (deviceStreams())
        device().sendCloseMicData();
    if (m_sdkSession && sdk())
        sdk()->stopAsr();
    const QXUserInfoData &st = state();
    const int press = m_deps.pressType ? m_deps.pressType() : 0;
    if (st.mouseInfoItem().mouseType() == kPointerMouseType && st.laserPenVoiceFunctionIndex() == 0
        && press == presstype::kTypingDown && m_deps.dismissSpeechView)
        m_deps.dismissSpeechView();
    sendEndFrameIfStopped();
}

void QXWebApiAsrService::cancel()
{
    if (m_shutdown)
        return;
    m_isCancel = true;
    m_result.clear();
    dropSocket();
    invalidateTimer();
    endAsr();
}

void QXWebApiAsrService::prepareForApplicationTermination()
{
    m_shutdown = true;
    m_isEnd = m_isCancel = true;
    m_audioResultBlock = nullptr;
    invalidateTimer();
    cancelTimer(Scheduler::instance(), m_manualEndTimer);
    dropSocket();
    dropQueued();
    if (microphone() && microphone()->isRecording())
        microphone()->stop();
    if (m_fileHandle)
        m_fileHandle->close();
    m_fileHandle.reset();
}

// --- the socket ---------------------------------------------------------------------

bool QXWebApiAsrService::hasSocket() const
{
    return m_socket != nullptr;
}

bool QXWebApiAsrService::isSocketOpen() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

void QXWebApiAsrService::requestWebSocket()
{
    m_status = AsrStreamPosition::First;
    dropSocket();
    const QString base =
        m_deps.serviceBase.isEmpty() ? qxServiceBase(QXService::SpeechRecognition) : m_deps.serviceBase;
    const QUrl url = asrWebSocketUrl(base, state().region(), state().mouseInfoItem().mouseSource());
    // Device voice may arrive before the handshake completes; it waits in the queue.
    if (!m_isTransferAudio && !device().isFromMicData()) {
        QPointer<QXWebApiAsrService> self(this);
        device().setSendVoiceDataBlock([self](bool more, QByteArrayView audio) {
            if (self)
                self->deviceVoice(more, audio);
        });
    }
    auto *socket = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
    m_socket = socket;
    m_socketOpened = false;
    writeLog(QStringLiteral("开始连接语音识别服务器"));
    connect(socket, &QWebSocket::connected, this, [this, socket] {
        if (socket == m_socket)
            socketOpened();
    });
    connect(socket, &QWebSocket::textMessageReceived, this, [this, socket](const QString &message) {
        if (socket == m_socket)
            textReceived(message);
    });
    connect(socket, &QWebSocket::binaryMessageReceived, this, [](const QByteArray &message) {
        writeLog(QStringLiteral("---webSocket:didReceiveMessage:%1---")
                     .arg(QString::fromLatin1(message.left(64).toHex())
                          + (message.size() > 64 ? QStringLiteral("…") : QString())));
    });
    connect(socket, QOverload<QAbstractSocket::SocketError>::of(&QWebSocket::error), this, [this, socket] {
        if (socket == m_socket)
            socketFailed();
    });
    // A refused connection or an unknown host ends the socket with "disconnected" before its
    // "error": a socket that closes before it opened is the failure to connect.
    connect(socket, &QWebSocket::disconnected, this, [this, socket] {
        if (socket != m_socket)
            return;
        if (m_socketOpened)
            socketClosed();
        else
            socketFailed();
    });
    socket->open(url);
}

void QXWebApiAsrService::socketOpened()
{
    m_socketOpened = true;
    writeLog(QStringLiteral("连接socket成功"));
    if (m_isEnd || m_isCancel) {
        writeLog(QStringLiteral("---还没开始就结束了---"));
        dropSocket();
        return;
    }
    if (m_isTransferAudio) {
        m_transcription.start({.send =
                                   [this](const QByteArray &chunk, bool last) {
                                       if (last)
                                           m_status = AsrStreamPosition::Last;
                                       sendDataToService(chunk);
                                   },
                               .progress = [this](double value) { progress(value); }});
        return;
    }
    startRecord();
    // What the device sent while the handshake ran goes out first, in order.
    for (std::size_t n = m_lastData.size(); n > 0 && m_socket; --n)
        sendArrayData();
}

void QXWebApiAsrService::socketFailed()
{
    writeLog(QStringLiteral("连接socket失败:%1").arg(m_socket ? m_socket->errorString() : QString()));
    if (m_deps.showSpeechView)
        m_deps.showSpeechView(hrvAppLocalizedString(QStringLiteral("连接服务器失败,请检查网络")), 0);
    // The device would go on sending voice nobody hears.
    if (!m_isTransferAudio && device().isStartVoice())
        device().sendCloseMicData();
    reportTransferFailure();
    kvWebSocketClose();
}

void QXWebApiAsrService::socketClosed()
{
    // A last result or a cancel drops the socket first, so this close is the server's.
    qxInfo("asr") << "the speech service closed the connection without a last result";
    // A transcription the server closed without its last result has failed; the page
    // would otherwise wait for it for ever.
    reportTransferFailure();
    dropSocket();
}

void QXWebApiAsrService::kvWebSocketClose()
{
    writeLog(QStringLiteral("关闭长连接"));
    dropQueued();
    invalidateTimer();
    dropSocket();
}

void QXWebApiAsrService::dropSocket()
{
    if (!m_socket)
        return;
    QWebSocket *socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->close();
    socket->deleteLater();
}

// --- replies --------------------------------------------------------------------------

void QXWebApiAsrService::textReceived(const QString &message)
{
    if (m_isCancel || m_manualEnd || m_shutdown)
        return;
    const std::optional<AsrReply> reply = parseAsrReply(message);
    if (!reply) {
        if (!std::exchange(m_badReplyLogged, true))
            qxInfo("asr") << "a reply that is not the speech service's was ignored (once per recognition):"
                          << message.left(200);
        return;
    }
    const AsrResultText::Report r = m_result.apply(*reply);
    if (!r.isLast) {
        report(r);
        return;
    }
    kvWebSocketClose();
    if (state().semanticSwitch() && m_deps.semanticAnswer)
        m_deps.semanticAnswer(reply->dm);
    reportLast(r.newText);
}

void QXWebApiAsrService::report(const AsrResultText::Report &r)
{
    m_listeners.forEach(&ISpeechStatusListener::speechManagerRecognitionStatusChangeRecognizingAsr, r.display);
    m_listeners.forEach(&ISpeechStatusListener::speechManagerRecognitionStatusChangeRecognizingAsrNewResult, r.display,
                        r.newText, r.status);
    if (ResultBlock block = m_audioResultBlock)
        block(true, r.display, false);
}

void QXWebApiAsrService::reportLast(const QString &newText)
{
    const QString text = m_result.text();
    m_listeners.forEach(&ISpeechStatusListener::speechManagerRecognitionStatusChangeRecognizingAsrNewResult, text,
                        newText, 2);
    const QXTransferAudioModel job = m_transcription.currentTransferAudioModel();
    m_listeners.forEach(&ISpeechStatusListener::speechManagerRecognitionStatusChangeEndAsr, text, !m_isCancel,
                        m_isTransferAudio ? &job : nullptr);
    m_isCancel = false;
    m_transferEnded = true;
    if (ResultBlock block = m_audioResultBlock)
        block(true, text, true);
    m_result.clear();
}

void QXWebApiAsrService::sdkResult(int status, const QString &text)
{
    if (m_shutdown)
        return;
    if (status != 2) {
        m_listeners.forEach(&ISpeechStatusListener::speechManagerRecognitionStatusChangeRecognizingAsr, text);
        m_listeners.forEach(&ISpeechStatusListener::speechManagerRecognitionStatusChangeRecognizingAsrNewResult, text,
                            text, 0);
        if (ResultBlock block = m_audioResultBlock)
            block(true, text, false);
        return;
    }
    if (m_result.text().isEmpty())
        m_result.setText(text);
    reportLast(text);
}

void QXWebApiAsrService::reportTransferFailure()
{
    if (!m_isTransferAudio || m_transferEnded || m_isCancel)
        return;
    m_transferEnded = true;
    invalidateTimer();
    const QXTransferAudioModel job = m_transcription.currentTransferAudioModel();
    m_listeners.forEach(&ISpeechStatusListener::speechManagerRecognitionStatusChangeEndAsr, QString(), false, &job);
}

void QXWebApiAsrService::progress(double value)
{
    m_listeners.forEach(&ISpeechStatusListener::speechManagerRecognitionUpdateTransferProgress, value,
                        m_transcription.currentTransferAudioModel());
}

// --- recording ------------------------------------------------------------------------

void QXWebApiAsrService::startRecord()
{
    if (m_deps.pausePlayback)
        m_deps.pausePlayback();
    writeLog(QStringLiteral("开始录音"));
    m_result.clear();
    m_clientId = newClientId();
    const QString pcm = pcmPath();
    QXToolManager::deleteFileWithPath(pcm);
    writeLog(QStringLiteral("%1,path=%2").arg(QLatin1String("-[QXWebApiAsrService startRecord]"), pcm));
    QXToolManager::deleteFileWithPath(wavPath());
    m_fileHandle = QXToolManager::createFileHandleWithPath(pcm, true);

    QPointer<QXWebApiAsrService> self(this);
    if (device().isFromMicData()) {
        m_source = Source::Microphone;
        if (microphone()) {
            microphone()->start([self](const QByteArray &chunk) {
                if (self)
                    self->chunkArrived(Source::Microphone, chunk, !self->microphone()->isRecording());
            });
        } else {
            qxLogOnce(QStringLiteral("asr.noMicrophone"),
                      QStringLiteral("[asr] the computer's microphone is not available; nothing is recorded"));
        }
    } else {
        m_source = Source::Device;
        device().setSendVoiceDataBlock([self](bool more, QByteArrayView audio) {
            if (self)
                self->deviceVoice(more, audio);
        });
    }
    writeLog(QStringLiteral("%1,End").arg(QLatin1String("-[QXWebApiAsrService startRecord]")));
}

void QXWebApiAsrService::deviceVoice(bool more, QByteArrayView audio)
{
    // Only a recognition that takes the device's voice (or the chunk that ends a
    // cancelled one) has a use for it.
    const bool opening = m_source == Source::None && m_socket && !m_isTransferAudio && !device().isFromMicData();
    if (m_source != Source::Device && !opening && !m_isCancel) {
        qxLogOnce(QStringLiteral("asr.deviceVoiceOutside"),
                  QStringLiteral("[asr] device voice outside a recognition (%1 bytes); dropped").arg(audio.size()));
        return;
    }
    chunkArrived(Source::Device, audio.toByteArray(), !more);
}

void QXWebApiAsrService::chunkArrived(Source source, const QByteArray &chunk, bool sourceStopped)
{
    if (m_shutdown)
        return;
    // The first chunk after a cancel belongs to the abandoned recognition.
    const bool dropped = m_isCancel;
    if (dropped) {
        m_isCancel = false;
    } else if (m_sdkSession) {
        // The engine takes 16 kHz PCM only; ADPCM or 8 kHz voice would be heard as noise.
        const AsrAudioFormat f = deviceAudioFormat();
        const bool widePcm = f.format == QLatin1String("pcm") && f.rate == QLatin1String("16k");
        if (source == Source::Microphone || (!state().bleConnect() && widePcm))
            sdk()->sendPcmData(chunk);
        else
            qxLogOnce(
                QStringLiteral("asr.sdkFormat"),
                QStringLiteral("[asr] this device's voice is not 16 kHz PCM; the on-device engine cannot take it"));
    } else if (!m_pointerMicMode) {
        m_lastData.push_back(chunk);
        sendArrayData();
    }
    // Device decoders write their own PCM into the recording; only the microphone's
    // chunks are ours to write.
    if (source == Source::Microphone && m_fileHandle && !dropped)
        m_fileHandle->write(chunk);
    if (sourceStopped)
        finishRecording();
}

void QXWebApiAsrService::finishRecording()
{
    if (!m_fileHandle)
        return;
    m_fileHandle->close();
    m_fileHandle.reset();
    QXToolManager::pcmConvertToWav(pcmPath(), wavPath());
    Scheduler &s = Scheduler::instance();
    cancelTimer(s, m_wavDeleteTimer);
    m_wavDeleteTimer = s.singleShot(
        kWavKeepMs,
        [this] {
            m_wavDeleteTimer = Scheduler::kNoTimer;
            QXToolManager::deleteFileWithPath(wavPath());
        },
        this);
}

// --- sending --------------------------------------------------------------------------

void QXWebApiAsrService::invalidateTimer()
{
    m_transcription.stop();
}

void QXWebApiAsrService::dropQueued()
{
    m_lastData.clear();
    m_transcription.clear();
}

void QXWebApiAsrService::sendArrayData()
{
    if (m_pointerMicMode)
        return;
    if (m_lastData.empty())
        return;
    // Speech before the handshake completes is kept for it, not thrown away.
    if (m_socket && m_socket->state() != QAbstractSocket::ConnectedState
        && m_socket->state() != QAbstractSocket::UnconnectedState && m_socket->state() != QAbstractSocket::ClosingState)
        return;
    const QByteArray chunk = m_lastData.front();
    m_lastData.pop_front();
    sendDataToService(chunk);
}

void QXWebApiAsrService::sendDataToService(const QByteArray &chunk)
{
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    const bool micRecording = microphone() && microphone()->isRecording();
    if (!micRecording && !m_isTransferAudio && !deviceStreams())
        m_status = AsrStreamPosition::Last;
    const AsrStreamPosition position = m_status;
    if (m_status == AsrStreamPosition::First)
        m_status = AsrStreamPosition::Middle;
    m_socket->sendTextMessage(QString::fromUtf8(buildAsrFrame(frameFields(), chunk, position)));
    if (position == AsrStreamPosition::Last)
        m_endFrameSent = true;
}

void QXWebApiAsrService::sendEndFrameIfStopped()
{
    // A recognition whose source stopped without a last chunk would never tell the
    // service it is over, and so never get its last result.
    if (m_isTransferAudio || m_pointerMicMode || m_sdkSession || m_endFrameSent || !m_lastData.empty())
        return;
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    if ((microphone() && microphone()->isRecording()) || deviceStreams())
        return;
    m_status = AsrStreamPosition::Last;
    sendDataToService({});
}

AsrFrameFields QXWebApiAsrService::frameFields() const
{
    const QXUserInfoData &s = state();
    AsrFrameFields f;
    f.apiKey = orEmptyLogged(s.appKey(), "app key");
    f.language = languages().readAudioLanguageCode();
    f.clientId = m_clientId;
    f.deviceNo = orEmptyLogged(pz::qx_getMacAddress().toLower(), "machine address");
    f.serialNo = orEmptyLogged(s.mouseInfoItem().sn(), "serial number");
    f.punctuation = s.punctuationSwitch();
    f.phrases = m_deps.hotWords ? m_deps.hotWords() : QString();
    f.semantic = s.semanticSwitch();
    // The computer's microphone records 16 kHz PCM whatever the device streams.
    if (m_source == Source::Microphone)
        f.audio = {QStringLiteral("pcm"), QStringLiteral("16k")};
    else
        f.audio = deviceAudioFormat();
    return f;
}
