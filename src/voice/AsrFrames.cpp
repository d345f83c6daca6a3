#include "AsrFrames.h"

#include "FamilyTraits.h"
#include "ReceiverTable.h"
#include "TextNumber.h"

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

AsrAudioFormat asrAudioFormat(const WavRateInputs &d)
{
    const proto::FamilyTraits &family = proto::familyTraits(d.chipPlan);
    AsrAudioFormat f;
    // Only a narrow-band family says its rate; the others leave it to the service.
    if (d.bleConnect || family.voiceRate == 8000)
        f.rate = QStringLiteral("8k");
    f.format = QStringLiteral("adpcm");
    if (d.deviceType == 5 || d.deviceType == 2) {
        f.rate = QStringLiteral("16k");
        f.format = QStringLiteral("pcm");
    }
    const QString fromFlag = d.samplingRate != 0 ? QStringLiteral("16k") : QStringLiteral("8k");
    if (family.rateRule == proto::VoiceRateRule::FlagFromFw11 && qx::leadingInteger(d.firmwareVersion) >= 11)
        f.rate = fromFlag;
    if (family.pcmVoice)
        f.format = QStringLiteral("pcm");
    if (qx::receivers::receiverHas(d.currentVid, d.currentPid, qx::receivers::kWideBandPcm)) {
        f.rate = QStringLiteral("16k");
    } else if (family.rateRule == proto::VoiceRateRule::Flag) {
        f.format = QStringLiteral("pcm");
        f.rate = fromFlag;
    }
    return f;
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
