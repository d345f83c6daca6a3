#include "QXAnswerReader.h"

#include "PZDictionary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace {

using Kind = QXNetError::Kind;

// A code field reads like the kit's integer getter: numbers cut towards zero,
// numeric texts by their leading number, anything else 0.
qint64 codeValue(const QJsonValue &value)
{
    return pz::longLongValue(value, 0);
}

// A message field: a text as is, a number's description, anything else "".
QString messageText(const QJsonValue &value)
{
    return pz::stringValue(value, QString());
}

QXAnswerOutcome shapeError(const QString &what)
{
    return QXAnswerOutcome::fail(Kind::Shape, QStringLiteral("unexpected answer: ") + what);
}

QXAnswerOutcome serverError(const QJsonObject &answer, const QXAnswerSpec &spec, qint64 code)
{
    return QXAnswerOutcome::fail(Kind::Server, messageText(answer.value(spec.messageField)), code);
}

// Mode 1: code must be 0 (or no code field named); the whole answer is the result.
QXAnswerOutcome readWholeChecked(const QXAnswerSpec &spec, const QJsonValue &answer)
{
    if (spec.codeField.isEmpty())
        return QXAnswerOutcome::ok(answer);
    if (!answer.isObject())
        return shapeError(QStringLiteral("not an object"));
    const QJsonObject r = answer.toObject();
    const qint64 code = codeValue(r.value(spec.codeField));
    if (code != 0)
        return serverError(r, spec, code);
    return QXAnswerOutcome::ok(answer);
}

// Mode 2: code compared with the success code; the data field (one or two floors).
QXAnswerOutcome readDataField(const QXAnswerSpec &spec, const QJsonValue &answer)
{
    if (!answer.isObject())
        return shapeError(QStringLiteral("not an object"));
    const QJsonObject r = answer.toObject();
    const qint64 code = spec.codeField.isEmpty() ? 0 : codeValue(r.value(spec.codeField));
    if (code != spec.successCode)
        return serverError(r, spec, code);
    QJsonValue data = r.value(spec.dataOneFloorField);
    if (data.isObject() && !spec.dataTwoFloorField.isEmpty())
        data = data.toObject().value(spec.dataTwoFloorField);
    if (spec.dataRequired && (data.isUndefined() || data.isNull()))
        return QXAnswerOutcome::fail(Kind::Server, QStringLiteral("answer has no \"%1\"").arg(spec.dataOneFloorField));
    return QXAnswerOutcome::ok(data);
}

// Mode 3: a translator answer, [{"translations":[{"text":...}]}].
QXAnswerOutcome readTranslation(const QJsonValue &answer)
{
    if (!answer.isArray())
        return shapeError(QStringLiteral("not an array"));
    const QJsonArray r = answer.toArray();
    if (r.isEmpty())
        return QXAnswerOutcome::ok(QString());
    if (!r.first().isObject())
        return shapeError(QStringLiteral("first element not an object"));
    const QJsonValue t = r.first().toObject().value(QStringLiteral("translations"));
    if (!t.isArray())
        return shapeError(QStringLiteral("no translations"));
    const QJsonArray translations = t.toArray();
    if (translations.isEmpty())
        return QXAnswerOutcome::ok(QString());
    if (!translations.first().isObject())
        return shapeError(QStringLiteral("translation not an object"));
    return QXAnswerOutcome::ok(translations.first().toObject().value(QStringLiteral("text")));
}

// Mode 4: a semantic answer, {"semantic":[{"pars":[{"value":...}]}]}.
QXAnswerOutcome readSemantic(const QXAnswerSpec &spec, const QJsonValue &answer)
{
    if (!answer.isObject())
        return shapeError(QStringLiteral("not an object"));
    const QJsonObject r = answer.toObject();
    if (!spec.codeField.isEmpty()) {
        const qint64 code = codeValue(r.value(spec.codeField));
        if (code != 0)
            return serverError(r, spec, code);
    }
    const QJsonValue s = r.value(QStringLiteral("semantic"));
    if (!s.isArray())
        return shapeError(QStringLiteral("no semantic array"));
    const QJsonArray semantic = s.toArray();
    if (semantic.isEmpty())
        return QXAnswerOutcome::ok(semantic);
    if (!semantic.first().isObject())
        return shapeError(QStringLiteral("semantic element not an object"));
    const QJsonValue p = semantic.first().toObject().value(QStringLiteral("pars"));
    if (!p.isArray())
        return shapeError(QStringLiteral("no pars array"));
    const QJsonArray pars = p.toArray();
    if (pars.isEmpty())
        return QXAnswerOutcome::ok(semantic);
    if (!pars.first().isObject())
        return shapeError(QStringLiteral("pars element not an object"));
    return QXAnswerOutcome::ok(pars.first().toObject().value(QStringLiteral("value")));
}

} // namespace

bool qxIsAcceptedContentType(const QByteArray &contentTypeHeader)
{
    const qsizetype semi = contentTypeHeader.indexOf(';');
    const QByteArray mime = (semi < 0 ? contentTypeHeader : contentTypeHeader.left(semi)).trimmed().toLower();
    return mime == "application/json" || mime == "text/json" || mime == "text/plain" || mime == "text/html";
}

QXAnswerOutcome qxDecodeAnswerBody(const QByteArray &contentTypeHeader, const QByteArray &body)
{
    const bool empty = body.trimmed().isEmpty();
    // A body without a content type is refused; an empty answer without one is
    // just "no body".
    if (!(contentTypeHeader.trimmed().isEmpty() && empty) && !qxIsAcceptedContentType(contentTypeHeader)) {
        const QString type = contentTypeHeader.trimmed().isEmpty() ? QStringLiteral("none")
                                                                   : QString::fromLatin1(contentTypeHeader.trimmed());
        return QXAnswerOutcome::fail(Kind::ContentType, QStringLiteral("unacceptable content type: ") + type);
    }
    if (empty)
        return QXAnswerOutcome::fail(Kind::NoBody, qxNoBodyMessage(), kQXNoBodyCode);
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || doc.isNull())
        return QXAnswerOutcome::fail(Kind::Json, QStringLiteral("answer is not JSON: ") + error.errorString());
    if (doc.isArray())
        return QXAnswerOutcome::ok(doc.array());
    return QXAnswerOutcome::ok(doc.object());
}

QXAnswerOutcome qxReadAnswerObject(const QXAnswerSpec &spec, const QJsonValue &answer)
{
    switch (spec.mode) {
    case 0:
        return QXAnswerOutcome::ok(answer);
    case 1:
        return readWholeChecked(spec, answer);
    case 2:
        return readDataField(spec, answer);
    case 3:
        return readTranslation(answer);
    case 4:
        return readSemantic(spec, answer);
    default:
        return shapeError(QStringLiteral("unknown parse mode %1").arg(spec.mode));
    }
}

QXAnswerOutcome qxReadHttpAnswer(const QXAnswerSpec &spec, int httpStatus, const QByteArray &contentTypeHeader,
                                 const QByteArray &body)
{
    if (httpStatus < 200 || httpStatus > 299)
        return QXAnswerOutcome::fail(Kind::HttpStatus, QStringLiteral("HTTP status %1").arg(httpStatus), httpStatus);
    const QXAnswerOutcome decoded = qxDecodeAnswerBody(contentTypeHeader, body);
    if (!decoded.success)
        return decoded;
    return qxReadAnswerObject(spec, decoded.value);
}
