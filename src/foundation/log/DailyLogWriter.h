#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class Clock;

// The user-facing daily log: one text file per calendar day in the Log folder, each
// entry "\n<yyyy-MM-dd HH:mm:ss><message>". Entries are written on the log worker
// (LogWorker, which writes the developer logs too) in the order write() was called;
// write() never blocks on the disk. A day's file stops at a cap, with one line saying so.
class DailyLogWriter {
public:
    struct Options {
        // Where the files go; asked on the caller's thread for each message.
        std::function<QString()> folder;
        // Time stamps; asked on the caller's thread. Null: the scheduler's clock.
        const Clock *clock = nullptr;
        // The header of a new file; asked once, on the worker, when the first file is made.
        std::function<QString()> header;
        // A day's file grows no larger (give or take the line that says so): whatever
        // floods the log, the disk keeps its room.
        qint64 maxFileBytes = kMaxFileBytes;
    };
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
    static QString cappedText(qint64 maxFileBytes);

    DailyLogWriter(); // the application's: <data root>/Log, the scheduler's clock, machine facts
    explicit DailyLogWriter(Options options);
    ~DailyLogWriter(); // writes what is queued, then stops

    DailyLogWriter(const DailyLogWriter &) = delete;
    DailyLogWriter &operator=(const DailyLogWriter &) = delete;

    // The application's daily log, which PZManagerForLog::load() starts with the other
    // logs; nullptr before that and in a process that never loads them. Once started it
    // lives until the process ends: messages may be written from any thread up to the
    // very end.
    static DailyLogWriter *application();
    static DailyLogWriter *setApplication(DailyLogWriter *writer); // returns the previous one

    void write(const QString &message);

    // Returns once every message queued before the call is in its file.
    void waitForPending();

    // "hostName:<h>\nmacAdress:<m>\nsystemVersion:<v>\n\n"
    static QString headerText(const QString &host, const QString &mac, const QString &version);
    // The entry appended for a message at a time ("" for an empty message).
    static QString entryText(const QDateTime &time, const QString &message);
    static QString fileNameFor(const QDateTime &time);

private:
    struct Item {
        QString folder;
        QDateTime time;
        QString message;
    };

    void writeOne(const Item &item);

    Options m_options;
    // The log worker only.
    std::optional<QString> m_header;
    QString m_fullPath; // the day's file that has reached its cap
    QString m_checkedPath;
};
