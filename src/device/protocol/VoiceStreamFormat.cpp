#include "VoiceStreamFormat.h"

#include "FamilyTraits.h"
#include "ReceiverTable.h"
#include "TextNumber.h"

VoiceStreamFormat voiceStreamFormat(const WavRateInputs &d)
{
    const proto::FamilyTraits &family = proto::familyTraits(d.chipPlan);
    VoiceStreamFormat f;
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
