#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QTemporaryFile;

// How one download ended.
struct QXDownloadResult {
    bool ok = false;
    QString filePath;   // the saved file (ok only)
    int httpStatus = 0; // 0 when no answer arrived
    QString error;      // why it failed, for the log
};

// Downloads one address into a folder with a plain GET. The body streams into a
// temporary file in that folder; only a complete 2xx answer is renamed to its final
// name (replacing a file of that name), so an error page, a dropped connection or a
// full disk never leaves a partial file under the final name. The final name is
// asked for once the body is complete: nameFor gets the server's suggestion (see
// qxSuggestedFileName, "" when there is none) and answers a plain file name, or ""
// to refuse. `done` is called exactly once, on the main thread, never before
// start() returns.
class QXFileDownload : public QObject {
    Q_OBJECT
public:
    using NameFor = std::function<QString(const QString &suggestedName)>;
    using Done = std::function<void(const QXDownloadResult &result)>;

    // Stops a transfer that moved no byte for this long (the usual idle limit of a
    // download session).
    static constexpr int kIdleTimeoutMs = 60000;

    // network nullptr: the shared HTTP client's manager.
    static void start(const QUrl &url, const QString &folder, NameFor nameFor, Done done,
                      QNetworkAccessManager *network = nullptr);

    ~QXFileDownload() override;

private:
    QXFileDownload(const QUrl &url, const QString &folder, NameFor nameFor, Done done);
    void begin(QNetworkAccessManager *network);
    void writeAvailable();
    void onFinished();
    void finish(QXDownloadResult result);
    void fail(const QString &error, int httpStatus = 0);

    QUrl m_url;
    QString m_folder;
    NameFor m_nameFor;
    Done m_done;
    std::unique_ptr<QTemporaryFile> m_file;
    QPointer<QNetworkReply> m_reply;
    qint64 m_written = 0;
    bool m_writeFailed = false;
    bool m_finished = false;
};
