#include "QXDirectAnswers.h"

#include "PZDictionary.h"

#include <QJsonObject>

namespace {

using Kind = QXNetError::Kind;

QXAnswerOutcome shapeFailure(const QJsonValue &answer, const QString &why)
{
    QXAnswerOutcome out = QXAnswerOutcome::fail(Kind::Shape, why);
    out.value = answer;
    return out;
}

QJsonValue member(const QJsonValue &value, const char *key)
{
    return value.isObject() ? value.toObject().value(QLatin1String(key)) : QJsonValue(QJsonValue::Undefined);
}

} // namespace

bool qxIsAcceptedDirectContentType(const QByteArray &contentTypeHeader)
{
    const qsizetype semi = contentTypeHeader.indexOf(';');
    const QByteArray mime = (semi < 0 ? contentTypeHeader : contentTypeHeader.left(semi)).trimmed().toLower();
    return mime == "text/javascript" || qxIsAcceptedContentType(mime);
}

QXAnswerOutcome qxDecodeDirectAnswer(const QByteArray &contentTypeHeader, const QByteArray &body)
{
    // The scenes' reader does the rest once the type is known to be one of ours.
    if (qxIsAcceptedDirectContentType(contentTypeHeader))
        return qxDecodeAnswerBody(QByteArrayLiteral("application/json"), body);
    return qxDecodeAnswerBody(contentTypeHeader, body);
}

QString qxJoinRecognisedLines(const QJsonArray &elements, const std::function<QJsonValue(const QJsonValue &)> &textOf)
{
    QString joined;
    for (const QJsonValue &element : elements) {
        const QString text = textOf(element).toString(); // "" for anything but a string
        if (joined.isEmpty())
            joined = text;
        else
            joined += QLatin1Char('\n') + text;
    }
    return joined;
}

QXAnswerOutcome qxReadTwinLarkOcrAnswer(const QJsonValue &answer)
{
    const QJsonValue data = member(answer, "data");
    if (!data.isObject())
        return shapeFailure(answer, QStringLiteral("OCR answer without a data object"));
    const QJsonArray words = member(data, "words").toArray();
    return QXAnswerOutcome::ok(
        qxJoinRecognisedLines(words, [](const QJsonValue &word) { return member(word, "text"); }));
}

QXAnswerOutcome qxReadIFlytekOcrAnswer(const QJsonValue &answer)
{
    const QJsonValue data = member(answer, "data");
    if (!data.isObject())
        return shapeFailure(answer, QStringLiteral("OCR answer without a data object"));
    const QJsonArray blocks = member(member(data, "document"), "blocks").toArray();
    return QXAnswerOutcome::ok(qxJoinRecognisedLines(blocks, [](const QJsonValue &block) {
        const QJsonArray lines = member(block, "lines").toArray();
        return lines.isEmpty() ? QJsonValue() : member(lines.first(), "text");
    }));
}

QXChipTokenAnswer qxReadChipTokenAnswer(const QJsonValue &answer)
{
    if (!answer.isObject())
        return {shapeFailure(answer, QStringLiteral("token answer is not an object")), {}};
    const QJsonObject object = answer.toObject();
    const QJsonValue token = object.value(QStringLiteral("token"));
    // Without a token there is nothing to hand to the device: a failure, not a
    // success carrying nothing.
    if (!token.isString() || token.toString().isEmpty())
        return {shapeFailure(answer, QStringLiteral("token answer without a token")), {}};
    return {QXAnswerOutcome::ok(token), pz::stringValueForKey(object, QStringLiteral("expireAt"), QString())};
}
