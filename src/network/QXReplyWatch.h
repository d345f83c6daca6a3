#pragma once

#include "QXNetError.h"

#include <QByteArray>

#include <functional>

class QNetworkReply;

// How long a request without a time-out of its own may stay silent (nothing sent,
// nothing received) before it fails.
constexpr int kQXDirectRequestTimeoutMs = 60 * 1000;

// What came back for one request.
struct QXReplyResult {
    int status = 0; // the HTTP status, 0 when no answer arrived
    QByteArray contentType;
    QByteArray body;
    QXNetError error; // Transport, Timeout or HttpStatus; None for a 2xx answer
};

// Follows a reply to its end and calls done exactly once, on the main thread: with
// the answer, or with the failure (a status outside 2xx, a transport error, or
// idleTimeoutMs without any bytes moving, timed by the Scheduler). The reply is
// deleted afterwards.
void qxWatchReply(QNetworkReply *reply, int idleTimeoutMs, std::function<void(const QXReplyResult &)> done);
