#include "QXToolManager.h"

#include "DataPaths.h"
#include "InstalledInstance.h"
#include "MainThread.h"
#include "PZLog.h"
#include "log/DailyLogWriter.h"
#include "tools/MachineFacts.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QMutex g_rateMutex;
std::function<WavRateInputs()> g_rateProvider;
std::function<int(const WavRateInputs &)> g_rateRule;
constexpr int kRateWithoutRule = 16000;

} // namespace

QXToolManager &QXToolManager::sharedInstance()
{
    return InstalledInstance<QXToolManager>::get("QXToolManager");
}

QXToolManager *QXToolManager::setSharedInstance(QXToolManager *instance)
{
    return InstalledInstance<QXToolManager>::install(instance);
}

void QXToolManager::writeLog(const QString &message)
{
    if (DailyLogWriter *daily = DailyLogWriter::application())
        daily->write(message);
    else
        qInfo().noquote() << message;
}

void QXToolManager::waitForPendingLogsBeforeTermination()
{
    if (DailyLogWriter *daily = DailyLogWriter::application())
        daily->waitForPending();
}

QString QXToolManager::getFilePath(const QString &component)
{
    return DataPaths::getFilePath(component);
}

QString QXToolManager::getFilePath(const QString &component, QStandardPaths::StandardLocation location)
{
    const QString base = QStandardPaths::writableLocation(location);
    if (base.isEmpty())
        return {};
    QString c = component;
    while (c.startsWith(u'/'))
        c.remove(0, 1);
    return c.isEmpty() ? base : QDir(base).filePath(c);
}

std::unique_ptr<QFile> QXToolManager::createFileHandleWithPath(const QString &path, bool isAppend)
{
    if (path.isEmpty())
        return nullptr;
    const QByteArray native = QFile::encodeName(path);
    if (!isAppend && QFileInfo::exists(path))
        ::unlink(native.constData());
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered,
                    QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

bool QXToolManager::deleteFileWithPath(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir())
        return false;
    return QFile::remove(path);
}

QVariantMap QXToolManager::getDeviceInfo() const
{
    QFile f(QStringLiteral("/etc/os-release"));
    if (!f.open(QIODevice::ReadOnly)) {
        f.setFileName(QStringLiteral("/usr/lib/os-release"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
    }
    return MachineFacts::parseOsRelease(f.read(64 * 1024));
}

QXToolManager::FolderResult QXToolManager::createFolderOnDesktopWithName(const QString &name) const
{
    if (name.isEmpty())
        return {false, 514, QStringLiteral("文件夹名称不能为空")};
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty())
        return {false, 4, QStringLiteral("无法获取桌面目录")};
    const QString path = QDir(desktop).filePath(name);
    const QFileInfo info(path);
    if (info.exists()) {
        if (info.isDir())
            return {true, 0, {}};
        return {false, 516, QStringLiteral("存在同名文件，无法创建文件夹")};
    }
    if (!QDir().mkpath(path))
        return {false, 512, QStringLiteral("cannot create folder %1").arg(path)};
    return {true, 0, {}};
}

bool QXToolManager::pcmConvertToWav(const QString &pcmPath, const QString &wavPath)
{
    std::function<int(const WavRateInputs &)> rule;
    {
        QMutexLocker lock(&g_rateMutex);
        rule = g_rateRule;
    }
    const int rate = rule ? rule(currentWavRateInputs()) : kRateWithoutRule;

    // The data size is the PCM file's length; a missing file is an empty recording.
    QFile pcm(pcmPath);
    QByteArray samples;
    if (pcm.open(QIODevice::ReadOnly))
        samples = pcm.readAll();
    // The RIFF size field is 32 bits.
    if (samples.size() > qsizetype(0xFFFFFFFFu - 36)) {
        writeLog(QStringLiteral("PCM file too large for WAV: %1").arg(pcmPath));
        return false;
    }

    QFile wav(wavPath);
    if (!wav.open(QIODevice::WriteOnly | QIODevice::Truncate, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        writeLog(QStringLiteral("Error opening out file %1: %2").arg(wavPath, wav.errorString()));
        return false;
    }
    wav.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner); // one an older version left
    const QByteArray header = wavHeader(quint32(samples.size()), quint32(rate));
    if (wav.write(header) != header.size() || wav.write(samples) != samples.size() || !wav.flush()) {
        writeLog(QStringLiteral("Error writing out file %1: %2").arg(wavPath, wav.errorString()));
        return false;
    }
    wav.close();
    return true;
}

void QXToolManager::setWavRateInputsProvider(std::function<WavRateInputs()> provider)
{
    QMutexLocker lock(&g_rateMutex);
    g_rateProvider = std::move(provider);
}

QXToolManager::WavSampleRateRule QXToolManager::setWavSampleRateRule(WavSampleRateRule rule)
{
    QMutexLocker lock(&g_rateMutex);
    std::swap(g_rateRule, rule);
    return rule;
}

bool QXToolManager::hasWavSampleRateRule()
{
    QMutexLocker lock(&g_rateMutex);
    return bool(g_rateRule);
}

bool QXToolManager::hasWavRateInputsProvider()
{
    QMutexLocker lock(&g_rateMutex);
    return bool(g_rateProvider);
}

WavRateInputs QXToolManager::currentWavRateInputs()
{
    std::function<WavRateInputs()> provider;
    {
        QMutexLocker lock(&g_rateMutex);
        provider = g_rateProvider;
    }
    return provider ? provider() : WavRateInputs{};
}

void QXToolManager::authorMicphone(std::function<void(bool, int)> completion) const
{
    if (!completion)
        return;
    constexpr int kAuthorized = 3;
    runOnMainThread([completion = std::move(completion)] { completion(true, kAuthorized); });
}

QString QXToolManager::macAdress()
{
    return MachineFacts::macAddressFromSysfs(QStringLiteral("/sys/class/net"));
}

QString QXToolManager::systemVersion()
{
    return MachineFacts::systemVersion();
}

int QXToolManager::numIntWithData(const QByteArray &data)
{
    quint32 result = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const quint32 byte = quint8(data.at(i));
        // A shift of 32 or more wraps, so a fifth byte lands in the low byte again.
        result |= byte << ((8 * i) % 32);
    }
    return int(result);
}

QByteArray QXToolManager::intToData(int value)
{
    const quint32 v = quint32(value);
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = char((v >> (8 * i)) & 0xff);
    return out;
}

QString QXToolManager::convertASCII(const QString &text)
{
    QString out;
    for (const QChar c : text)
        out += QString::number(c.unicode()) + u' ';
    return out;
}

bool QXToolManager::isHaveText(const std::optional<QString> &text)
{
    if (!text)
        return false;
    for (const QChar c : *text) {
        if (!c.isSpace())
            return true;
    }
    return false;
}
