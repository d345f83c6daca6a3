#include "QXReplyWatch.h"

#include "Scheduler.h"

#include <QNetworkReply>
#include <QObject>

#include <memory>

namespace {

struct Watch {
    Scheduler::TimerId timer = Scheduler::kNoTimer;
    bool timedOut = false;
    bool finished = false;
    int idleMs = 0;
};

void arm(QNetworkReply *reply, const std::shared_ptr<Watch> &watch)
{
    if (watch->timedOut || watch->finished)
        return;
    Scheduler &scheduler = Scheduler::instance();
    cancelTimer(scheduler, watch->timer);
    // The reply as context: a reply already gone cannot be aborted.
    watch->timer = scheduler.singleShot(
        watch->idleMs,
        [reply, watch] {
            watch->timer = Scheduler::kNoTimer;
            watch->timedOut = true;
            reply->abort();
        },
        reply);
}

QXReplyResult resultOf(QNetworkReply *reply, bool timedOut)
{
    using Kind = QXNetError::Kind;
    QXReplyResult r;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    r.status = status.isValid() ? status.toInt() : 0;
    r.contentType = reply->rawHeader("Content-Type");
    if (reply->isOpen()) // an aborted reply is closed
        r.body = reply->readAll();
    const QNetworkReply::NetworkError error = reply->error();
    if (timedOut) {
        r.error = QXNetError{Kind::Timeout, QStringLiteral("request timed out"), int(QNetworkReply::TimeoutError)};
    } else if (status.isValid() && (r.status < 200 || r.status > 299)) {
        // An error page is a failure, whatever its body holds.
        r.error = QXNetError{Kind::HttpStatus, QStringLiteral("HTTP status %1").arg(r.status), r.status};
    } else if (error != QNetworkReply::NoError || !status.isValid()) {
        // Includes a connection closed in the middle of the body: what arrived is not
        // the whole answer.
        r.error = QXNetError{Kind::Transport, reply->errorString(),
                             error == QNetworkReply::NoError ? int(QNetworkReply::UnknownNetworkError) : int(error)};
    }
    return r;
}

} // namespace

void qxWatchReply(QNetworkReply *reply, int idleTimeoutMs, std::function<void(const QXReplyResult &)> done)
{
    auto watch = std::make_shared<Watch>();
    watch->idleMs = idleTimeoutMs;
    arm(reply, watch);
    // Any bytes moving in either direction mean the peer is alive.
    QObject::connect(reply, &QNetworkReply::uploadProgress, reply, [reply, watch] { arm(reply, watch); });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply, watch] { arm(reply, watch); });
    // finished comes once per reply; the reply is deleted after it, and with it the
    // connections and what they hold.
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, watch, done = std::move(done)] {
        watch->finished = true;
        cancelTimer(Scheduler::instance(), watch->timer);
        const QXReplyResult result = resultOf(reply, watch->timedOut);
        reply->deleteLater();
        if (done)
            done(result);
    });
}
