#include "HidVoiceChipAuth.h"

#include "IChipTokenClient.h"
#include "PZLog.h"
#include "QXHidCommandManager.h"
#include "QXUserInfoData.h"

namespace proto {

std::optional<VoiceChipPiece> voiceChipPiece(const HidReport &report)
{
    constexpr int kLengthAt = 3, kDataAt = 4;
    const auto sub = report.at(2);
    const auto length = report.at(kLengthAt);
    if (!sub || !length || kDataAt + int(*length) > report.size())
        return std::nullopt;
    return VoiceChipPiece{int(*sub), report.bytes.mid(kDataAt, *length)};
}

} // namespace proto

namespace {
enum Sub { kFirmwareVersion = 0x01, kChipId = 0x02, kDeviceId = 0x03, kAuthFirst = 0x04, kAuthNext = 0x05 };
}

void HidVoiceChipAuth::handleVoiceChip(const proto::HidReport &report)
{
    const auto piece = proto::voiceChipPiece(report);
    if (!piece) {
        qxLogOnce(
            QStringLiteral("voice-chip-length"),
            QStringLiteral("voice-chip report of %1 bytes claims more data than it holds; dropped").arg(report.size()));
        return;
    }
    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    switch (piece->subCommand) {
    case kFirmwareVersion:
        state.setIFlytekChip_FirmwareVersion(proto::hidHexText(piece->data));
        break;
    case kChipId:
        state.setIFlytekChip_ID(proto::hidHexText(piece->data));
        break;
    case kDeviceId:
        state.setIFlytekChip_DeviceID(proto::hidDeviceText(piece->data));
        m_hid.sendGetXunFeiChipAuthData();
        break;
    case kAuthFirst:
        state.setIFlytekChip_AuthData(piece->data);
        break;
    case kAuthNext:
        // Every following piece asks for a token with what has been gathered, even one
        // whose first piece was lost: the vendor judges the text, not this reader.
        state.appendIFlytekChip_AuthData(piece->data);
        state.setIFlytekChip_AuthDataStr(proto::hidDeviceText(state.IFlytekChip_AuthData()));
        requestToken();
        break;
    default:
        qxLogOnce(QStringLiteral("voice-chip-sub:%1").arg(piece->subCommand),
                  QStringLiteral("voice-chip report 0x%1 not handled").arg(piece->subCommand, 2, 16, QLatin1Char('0')));
        break;
    }
}

void HidVoiceChipAuth::requestToken()
{
    if (!m_tokens) {
        qxLogOnce(QStringLiteral("voice-chip-no-token-client"),
                  QStringLiteral("no voice-chip token client; the chip's token is not requested"));
        return;
    }
    IAIWindow *aiWindow = m_hid.seams().aiWindow;
    m_tokens->getIFlytekTokenWithCallback([aiWindow](bool success, const QJsonValue &, const QXNetError &error) {
        if (!success)
            qxInfo("hid") << "voice-chip token request failed:" << error.message;
        // The AI window's page depends on the device and its token, whatever the answer.
        aiWindow->initSubViews();
    });
}
