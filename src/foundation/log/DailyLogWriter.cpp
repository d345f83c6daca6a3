#include "DailyLogWriter.h"

#include "DataPaths.h"
#include "LogWorker.h"
#include "Scheduler.h"
#include "tools/MachineFacts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <atomic>

DailyLogWriter::DailyLogWriter() : DailyLogWriter(Options{}) {}

DailyLogWriter::DailyLogWriter(Options options) : m_options(std::move(options))
{
    if (!m_options.folder)
        m_options.folder = [] { return DataPaths::getFilePath(QStringLiteral("/Log")); };
    if (!m_options.header) {
        m_options.header = [] {
            return headerText(MachineFacts::hostName(), MachineFacts::macAddressFromSysfs("/sys/class/net"),
                              MachineFacts::systemVersion());
        };
    }
}

namespace {
std::atomic<DailyLogWriter *> g_application{nullptr};
}

DailyLogWriter *DailyLogWriter::application()
{
    return g_application.load(std::memory_order_acquire);
}

DailyLogWriter *DailyLogWriter::setApplication(DailyLogWriter *writer)
{
    return g_application.exchange(writer, std::memory_order_acq_rel);
}

DailyLogWriter::~DailyLogWriter()
{
    LogWorker::shared().drain();
}

void DailyLogWriter::write(const QString &message)
{
    const Clock &clock = m_options.clock ? *m_options.clock : Scheduler::instance().clock();
    Item item{m_options.folder(), clock.now(), message};
    LogWorker::shared().post([this, item = std::move(item)] { writeOne(item); });
}

void DailyLogWriter::waitForPending()
{
    LogWorker::shared().drain();
}

QString DailyLogWriter::headerText(const QString &host, const QString &mac, const QString &version)
{
    return QStringLiteral("hostName:%1\nmacAdress:%2\nsystemVersion:%3\n\n").arg(host, mac, version);
}

QString DailyLogWriter::entryText(const QDateTime &time, const QString &message)
{
    QString stripped = message;
    stripped.remove(u'\n');
    if (stripped.isEmpty())
        return message;
    const QString stamp =
        time.isValid() ? time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
    return u'\n' + stamp + message;
}

QString DailyLogWriter::fileNameFor(const QDateTime &time)
{
    QString date = time.isValid() ? time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd")) : QString();
    if (date.isEmpty())
        date = QStringLiteral("1970-01-01");
    return date + QStringLiteral("_log.txt");
}

void DailyLogWriter::writeOne(const Item &item)
{
    const QFileInfo folderInfo(item.folder);
    if (folderInfo.exists()) {
        // Something that cannot be listed (a plain file named Log, no permission) drops the entry.
        if (!folderInfo.isDir() || !QDir(item.folder).isReadable())
            return;
    } else {
        DataPaths::ensureDir(item.folder); // a failure shows below: no file, the entry is dropped
    }

    const QString path = item.folder + u'/' + fileNameFor(item.time);
    const QString entry = entryText(item.time, item.message);

    if (!QFileInfo::exists(path)) {
        if (!m_header)
            m_header = m_options.header();
        QSaveFile header(path);
        if (!header.open(QIODevice::WriteOnly))
            return;
        // The header names the machine and its address: the owner's eyes only.
        header.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        header.write(m_header->toUtf8());
        if (!header.commit())
            return;
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return;
    const QByteArray bytes = entry.toUtf8();
    const QByteArray capped = cappedText(m_options.maxFileBytes).toUtf8();
    if (path != m_checkedPath) {
        // A file capped before this process started ends with the line that said so.
        m_checkedPath = path;
        if (file.size() >= capped.size() && file.seek(file.size() - capped.size())
            && file.read(capped.size()) == capped)
            m_fullPath = path;
    }
    if (path == m_fullPath || bytes.isEmpty())
        return;
    if (file.size() + bytes.size() > m_options.maxFileBytes) {
        m_fullPath = path;
        file.write(entryText(item.time, QString::fromUtf8(capped)).toUtf8());
        return;
    }
    file.write(bytes);
    file.close();
}

QString DailyLogWriter::cappedText(qint64 maxFileBytes)
{
    return QStringLiteral("this day's log has reached its cap of %1 bytes: nothing more is written to it")
        .arg(maxFileBytes);
}
