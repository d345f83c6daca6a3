#include "QXFileDownload.h"

#include "DataPaths.h"
#include "PZLog.h"
#include "QXDownloadNames.h"
#include "QXHttpRequestManager.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

void QXFileDownload::start(const QUrl &url, const QString &folder, NameFor nameFor, Done done,
                           QNetworkAccessManager *network)
{
    QNetworkAccessManager *manager = network ? network : QXHttpRequestManager::sharedInstance().urlSessionManager();
    auto *download = new QXFileDownload(url, folder, std::move(nameFor), std::move(done));
    // A download still under way when its network goes (the application quitting)
    // goes with it: its reply is aborted and its temporary file removed.
    download->setParent(manager);
    download->begin(manager);
}

QXFileDownload::QXFileDownload(const QUrl &url, const QString &folder, NameFor nameFor, Done done)
    : m_url(url), m_folder(QDir::cleanPath(folder)), m_nameFor(std::move(nameFor)), m_done(std::move(done))
{
}

QXFileDownload::~QXFileDownload()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

void QXFileDownload::begin(QNetworkAccessManager *network)
{
    if (!m_url.isValid()) {
        fail(QStringLiteral("invalid address"));
        return;
    }
    if (!DataPaths::ensureDir(m_folder)) {
        fail(QStringLiteral("cannot create ") + m_folder);
        return;
    }
    m_file = std::make_unique<QTemporaryFile>(m_folder + QStringLiteral("/.download-XXXXXX"));
    if (!m_file->open()) {
        fail(QStringLiteral("cannot create a temporary file in ") + m_folder + QStringLiteral(": ")
             + m_file->errorString());
        return;
    }

    QNetworkRequest request(m_url);
    request.setTransferTimeout(kIdleTimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    m_reply = network->get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, &QXFileDownload::writeAvailable);
    connect(m_reply, &QNetworkReply::finished, this, &QXFileDownload::onFinished);
}

void QXFileDownload::writeAvailable()
{
    // Closed once aborted (the idle time-out): nothing is left to read.
    if (!m_reply || m_writeFailed || !m_reply->isOpen())
        return;
    const QByteArray chunk = m_reply->readAll();
    if (chunk.isEmpty())
        return;
    if (m_file->write(chunk) != chunk.size()) {
        m_writeFailed = true;
        m_reply->abort(); // finished() follows and reports the write error
        return;
    }
    m_written += chunk.size();
}

void QXFileDownload::onFinished()
{
    writeAvailable();
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_writeFailed) {
        fail(QStringLiteral("cannot write the temporary file: ") + m_file->errorString(), status);
        return;
    }
    if (status != 0 && (status < 200 || status > 299)) {
        fail(QStringLiteral("HTTP status %1").arg(status), status);
        return;
    }
    if (m_reply->error() != QNetworkReply::NoError) {
        fail(m_reply->errorString(), status);
        return;
    }
    if (status == 0) {
        fail(QStringLiteral("no HTTP answer"));
        return;
    }
    // A compressed body arrives inflated, so its length only counts when unencoded.
    bool hasLength = false;
    const qint64 length = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&hasLength);
    if (hasLength && m_reply->rawHeader("Content-Encoding").isEmpty() && length != m_written) {
        fail(QStringLiteral("incomplete body: %1 of %2 bytes").arg(m_written).arg(length), status);
        return;
    }
    if (!m_file->flush() || ::fsync(m_file->handle()) != 0) {
        fail(QStringLiteral("cannot write the temporary file: ") + m_file->errorString(), status);
        return;
    }

    const QString suggested = qxSuggestedFileName(m_reply->rawHeader("Content-Disposition"), m_reply->url());
    const QString name = m_nameFor ? m_nameFor(suggested) : suggested;
    if (name.isEmpty() || qxPlainFileName(name) != name) {
        fail(QStringLiteral("no usable file name (suggested \"%1\")").arg(suggested), status);
        return;
    }
    const QString target = m_folder + QLatin1Char('/') + name;
    // rename(2) replaces an existing file in one step; QFile::rename would not.
    if (std::rename(QFile::encodeName(m_file->fileName()).constData(), QFile::encodeName(target).constData()) != 0) {
        fail(QStringLiteral("cannot save %1: %2").arg(target, QString::fromLocal8Bit(std::strerror(errno))), status);
        return;
    }
    m_file->setAutoRemove(false);
    m_file->close();
    finish({true, target, status, {}});
}

void QXFileDownload::fail(const QString &error, int httpStatus)
{
    qxWarning("download") << m_url.toDisplayString() << "failed:" << error;
    QXDownloadResult result;
    result.httpStatus = httpStatus;
    result.error = error;
    if (m_reply) {
        finish(result);
        return;
    }
    // Failed before anything was sent: still answer after start() has returned.
    QMetaObject::invokeMethod(
        this, [this, result] { finish(result); }, Qt::QueuedConnection);
}

void QXFileDownload::finish(QXDownloadResult result)
{
    if (m_finished)
        return;
    m_finished = true;
    m_file.reset(); // removes the temporary file unless it became the result
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->deleteLater();
        m_reply.clear();
    }
    Done done = std::move(m_done);
    deleteLater();
    if (done)
        done(result);
}
