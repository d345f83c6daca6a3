#include "DailyLogWriter.h"

#include "DataPaths.h"
#include "Scheduler.h"
#include "tools/MachineFacts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <atomic>
#include <exception>

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
    m_thread = std::thread([this] { run(); });
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
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_cv.notify_one();
    m_thread.join();
}

void DailyLogWriter::write(const QString &message)
{
    const Clock &clock = m_options.clock ? *m_options.clock : Scheduler::instance().clock();
    Item item{m_options.folder(), clock.now(), message, nullptr};
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(item));
    }
    m_cv.notify_one();
}

void DailyLogWriter::waitForPending()
{
    // A message written by the worker itself cannot wait for itself.
    if (std::this_thread::get_id() == m_thread.get_id())
        return;
    std::promise<void> done;
    std::future<void> f = done.get_future();
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(Item{{}, {}, {}, &done});
    }
    m_cv.notify_one();
    f.wait();
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

void DailyLogWriter::run()
{
    for (;;) {
        Item item;
        {
            std::unique_lock lock(m_mutex);
            m_cv.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty())
                return; // stopping, and everything queued is written
            item = std::move(m_queue.front());
            m_queue.pop_front();
        }
        if (item.barrier) {
            item.barrier->set_value();
            continue;
        }
        // A failing disk loses the entry, never the writer.
        try {
            writeOne(item);
        } catch (...) {
        }
    }
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
    if (!entry.isEmpty())
        file.write(entry.toUtf8());
    file.close();
}
