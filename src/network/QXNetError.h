#pragma once

#include <QJsonValue>
#include <QString>

#include <functional>

// Why a request failed. `message` is what a caller may show or log; `code` is the
// server's code for Server, the HTTP status for HttpStatus, -2 for NoBody and the
// QNetworkReply error number for Transport.
struct QXNetError {
    enum class Kind {
        None,
        Unreachable,    // the network is reported down; nothing was sent
        InvalidRequest, // the URL could not be made into a request; nothing was sent
        Transport,      // connection refused or closed, TLS, DNS, ...
        Timeout,        // no bytes moved for the scene's time-out
        HttpStatus,     // an answer outside 2xx
        ContentType,    // a body whose content type is not one we read
        Json,           // a body that is not a JSON object or array
        NoBody,         // an accepted answer without a body
        Server,         // the answer's code says failure
        Shape,          // the answer is JSON but not of the shape the scene reads
    };

    Kind kind = Kind::None;
    QString message;
    qint64 code = 0;

    bool isError() const { return kind != Kind::None; }
};

// Completion of a scene request: (true, value, {}) or (false, {}, error). It is
// called exactly once, on the main thread. A missing data field gives an undefined
// value with success.
using QXSceneCallback = std::function<void(bool success, const QJsonValue &result, const QXNetError &error)>;
