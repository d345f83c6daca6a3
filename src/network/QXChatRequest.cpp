#include "QXChatRequest.h"

#include "PZString.h"
#include "services/QXAIContentModel.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <algorithm>

namespace {

QJsonObject message(const char *role, const QString &content)
{
    return QJsonObject{{QStringLiteral("role"), QLatin1String(role)}, {QStringLiteral("content"), content}};
}

// The text of one piece, or nullopt when it is not a usable answer piece.
std::optional<QString> pieceText(const QByteArray &piece)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)utf8.decode(piece);
    if (utf8.hasError())
        return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(piece);
    if (!doc.isObject())
        return std::nullopt;
    const QJsonValue data = doc.object().value(QStringLiteral("data"));
    if (!data.isObject())
        return std::nullopt;
    const QJsonValue text = data.toObject().value(QStringLiteral("text"));
    if (!text.isString())
        return std::nullopt;
    return text.toString();
}

} // namespace

QJsonArray qxChatMessageList(const QList<std::shared_ptr<QXAIContentModel>> &conversation)
{
    QJsonArray messages;
    const qsizetype start = std::max<qsizetype>(0, conversation.size() - kQXChatContextTurns);
    for (qsizetype i = start; i < conversation.size(); ++i) {
        const std::shared_ptr<QXAIContentModel> &turn = conversation[i];
        if (!turn)
            continue;
        messages.append(message("user", turn->question));
        if (turn->isFinished)
            messages.append(message("assistant", turn->lastAnswer()));
    }
    return messages;
}

std::optional<QByteArray> qxChatRequestBody(const QJsonArray &messages)
{
    const QString plain = QString::fromUtf8(QJsonDocument(messages).toJson(QJsonDocument::Compact));
    const std::optional<QString> cipher = pz::AES128ECBEncryptWithKey(plain, QString::fromLatin1(kQXChatBodyKey));
    if (!cipher)
        return std::nullopt;
    return cipher->toUtf8();
}

QStringList qxChatAnswerTexts(const QByteArray &body)
{
    // The marker is ASCII, so cutting the bytes cuts the text at the same places and
    // a corrupted piece costs only itself.
    static const QByteArray marker(kChatPieceMarker);
    QStringList texts;
    qsizetype from = 0;
    while (from <= body.size()) {
        qsizetype at = body.indexOf(marker, from);
        if (at < 0)
            at = body.size();
        if (std::optional<QString> text = pieceText(body.mid(from, at - from)))
            texts.append(std::move(*text));
        from = at + marker.size();
    }
    return texts;
}
