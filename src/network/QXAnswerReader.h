#pragma once

#include "QXNetError.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>

// Reading of server answers, by the parse mode a scene names. Pure functions: the
// HTTP client calls them on what arrived, tests and the fuzzer call them directly.

// How a scene's answer is read (the answer questions of a scene).
struct QXAnswerSpec {
    qint64 mode = 2;
    QString codeField = QStringLiteral("rc");
    qint64 successCode = 0;
    QString messageField = QStringLiteral("msg");
    QString dataOneFloorField = QStringLiteral("data");
    QString dataTwoFloorField;
    // A missing data field is a failure instead of (true, undefined).
    bool dataRequired = false;
};

struct QXAnswerOutcome {
    bool success = false;
    QJsonValue value = QJsonValue(QJsonValue::Undefined);
    QXNetError error;

    static QXAnswerOutcome ok(const QJsonValue &v) { return {true, v, {}}; }
    static QXAnswerOutcome fail(QXNetError::Kind kind, const QString &message, qint64 code = 0)
    {
        return {false, QJsonValue(QJsonValue::Undefined), QXNetError{kind, message, code}};
    }
};

// The message of the "no answer body" failure, before localisation.
inline QString qxNoBodyMessage()
{
    return QStringLiteral("系统错误");
}
constexpr qint64 kQXNoBodyCode = -2;

// Content types whose bodies are read as JSON.
bool qxIsAcceptedContentType(const QByteArray &contentTypeHeader);

// The body of a 2xx answer: (true, the JSON object or array), or the failure that
// an absent/unaccepted content type, an empty body or unparsable JSON gives.
QXAnswerOutcome qxDecodeAnswerBody(const QByteArray &contentTypeHeader, const QByteArray &body);

// Applies the parse mode to a decoded answer.
QXAnswerOutcome qxReadAnswerObject(const QXAnswerSpec &spec, const QJsonValue &answer);

// The whole answer path after a response has arrived: status, body, parse mode.
QXAnswerOutcome qxReadHttpAnswer(const QXAnswerSpec &spec, int httpStatus, const QByteArray &contentTypeHeader,
                                 const QByteArray &body);
