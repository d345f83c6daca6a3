#include "AsrFrames.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString baseWithoutSlash(QString base)
{
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}
} // namespace

QUrl asrWebSocketUrl(const QString &base, const QString &region, quint64 mouseSource)
{
    QByteArray url = baseWithoutSlash(base).toUtf8() + "/ws";
    // A region from the server's profile may hold "&", "#" or blanks: it must stay one
    // query value.
    if (!region.isEmpty())
        url += "?region=" + QUrl::toPercentEncoding(region);
    else if (mouseSource == 1)
        url += "?region=out";
    return QUrl::fromEncoded(url, QUrl::StrictMode);
}

QByteArray buildAsrFrame(const AsrFrameFields &fields, QByteArrayView chunk, AsrStreamPosition position)
{
    QJsonObject o;
    o.insert(QStringLiteral("apiKey"), fields.apiKey);
    o.insert(QStringLiteral("language"), fields.language);
    o.insert(QStringLiteral("clientId"), fields.clientId);
    o.insert(QStringLiteral("content"), QString::fromLatin1(chunk.toByteArray().toBase64()));
    o.insert(QStringLiteral("deviceNo"), fields.deviceNo);
    o.insert(QStringLiteral("serialNo"), fields.serialNo);
    o.insert(QStringLiteral("ptt"), fields.punctuation ? QStringLiteral("1") : QStringLiteral("0"));
    o.insert(QStringLiteral("phrases"), fields.phrases);
    if (fields.semantic)
        o.insert(QStringLiteral("nlu"), QStringLiteral("1"));
    o.insert(QStringLiteral("format"), fields.audio.format);
    if (!fields.audio.rate.isEmpty())
        o.insert(QStringLiteral("rate"), fields.audio.rate);
    o.insert(QStringLiteral("start"), position == AsrStreamPosition::First);
    o.insert(QStringLiteral("end"), position == AsrStreamPosition::Last);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}
