#include "AsrReply.h"

#include <QJsonDocument>
#include <QJsonObject>

std::optional<AsrReply> parseAsrReply(QStringView message)
{
    if (message.size() > kMaxAsrReplyBytes)
        return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(message.toUtf8());
    if (!doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    const QJsonValue status = o.value(QLatin1String("status"));
    if (!status.isDouble() || status.toDouble() != 200.0)
        return std::nullopt;
    const QJsonObject data = o.value(QLatin1String("data")).toObject();
    AsrReply r;
    r.text = data.value(QLatin1String("text")).toString();
    const QString type = data.value(QLatin1String("type")).toString();
    if (type == QLatin1String("MID"))
        r.type = AsrReply::Type::Mid;
    else if (type == QLatin1String("FIN"))
        r.type = AsrReply::Type::Fin;
    else if (type == QLatin1String("LAST"))
        r.type = AsrReply::Type::Last;
    r.dm = data.value(QLatin1String("dm"));
    return r;
}
