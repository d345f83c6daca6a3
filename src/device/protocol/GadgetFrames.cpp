#include "GadgetFrames.h"

#include "PZLog.h"
#include "PZString.h"

namespace proto::gadget {

namespace {

QByteArray fixedFrame(uint8_t start, uint8_t command, uint8_t check)
{
    const uint8_t end = start == kStartCard ? kEndCard : kEndShort;
    const char bytes[] = {char(start), char(kMarker), char(command), 0x02, 0x00, char(check), char(end)};
    return QByteArray(bytes, sizeof bytes);
}

QByteArray oneByteFrame(uint8_t start, uint8_t command, int value, uint8_t offset)
{
    const uint8_t v = uint8_t(value);
    return fixedFrame(start, command, uint8_t(v + offset)).replace(4, 1, QByteArray(1, char(v)));
}

// start 12 command (n + 1) text 00 check end, check = command + length + text, mod 256.
std::optional<QByteArray> textFrame(uint8_t start, uint8_t command, const QByteArray &text, const char *what)
{
    if (text.size() > kMaxTextBytes) {
        qxWarning("gadget") << what << "of" << text.size() << "bytes does not fit one frame; not sent";
        return std::nullopt;
    }
    const uint8_t length = uint8_t(text.size() + 1);
    uint8_t check = uint8_t(command + length);
    for (char c : text)
        check = uint8_t(check + uint8_t(c));
    QByteArray frame;
    frame.reserve(text.size() + 7);
    frame.append(char(start)).append(char(kMarker)).append(char(command)).append(char(length));
    frame.append(text);
    frame.append('\0').append(char(check)).append(char(start == kStartCard ? kEndCard : kEndShort));
    return frame;
}

QByteArray lowBytesOfUtf16(const QString &text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = char(text.at(i).unicode() & 0xff);
    return out;
}

} // namespace

// clang-format off
QByteArray sendHandshakeProtocolData() { return fixedFrame(kStartShort, 0x02, 0x04); }
QByteArray sendGetDeviceInfoData() { return fixedFrame(kStartShort, 0x03, 0x05); }
QByteArray sendReceiveDeviceInfoData() { return fixedFrame(kStartShort, 0x04, 0x06); }
QByteArray sendGetMACAddressInfoData() { return fixedFrame(kStartShort, 0x05, 0x07); }
QByteArray sendGetElectricInfoData() { return fixedFrame(kStartShort, 0x09, 0x0f); }
QByteArray sendGetCountryInfoData() { return fixedFrame(kStartShort, 0x0d, 0x14); }
QByteArray sendGetChannelInfoData() { return fixedFrame(kStartShort, 0x11, 0x18); }
QByteArray sendReplyTranslationLeftLongPressData() { return fixedFrame(kStartShort, 0x14, 0x16); }
QByteArray sendReplyTranslationLeftLongReleaseData() { return fixedFrame(kStartShort, 0x16, 0x18); }
QByteArray sendReplyTranslationRightLongPressData() { return fixedFrame(kStartShort, 0x18, 0x1a); }
QByteArray sendReplyTranslationRightLongReleaseData() { return fixedFrame(kStartShort, 0x1a, 0x1c); }
QByteArray sendReplyVolumeIncreaseData() { return fixedFrame(kStartShort, 0x1d, 0x1f); }
QByteArray sendReplyVolumeReduceData() { return fixedFrame(kStartShort, 0x1f, 0x21); }
QByteArray sendStartOTAUpdateData() { return fixedFrame(kStartShort, 0x27, 0x29); }
QByteArray sendStartRecordData() { return fixedFrame(kStartShort, 0x2c, 0x3e); }
QByteArray sendEnterPlayModeData() { return fixedFrame(kStartShort, 0x31, 0x33); }
QByteArray sendReplyStartRecordData() { return fixedFrame(kStartShort, 0x34, 0x23); }
QByteArray sendEndRecordData() { return fixedFrame(kStartShort, 0x35, 0x43); }
QByteArray sendEnterIntoTFCardModeData() { return fixedFrame(kStartCard, 0x09, 0x0b); }
QByteArray sendQuitTFCardModeData() { return fixedFrame(kStartCard, 0x0b, 0x0d); }
QByteArray sendGetCurrentModeInfoData() { return fixedFrame(kStartCard, 0x18, 0x1a); }
QByteArray sendGetHiddenRecordInfoData() { return fixedFrame(kStartCard, 0x1e, 0x20); }
QByteArray sendReplyEndSendFileData() { return fixedFrame(kStartCard, 0x24, 0x26); }
QByteArray sendTransferOTAFinishData() { return fixedFrame(kStartCard, 0x2a, 0x2c); }
QByteArray sendSearchCurrentStatusData() { return fixedFrame(kStartCard, 0x2c, 0x2e); }
QByteArray sendSearchStorageInfoData() { return fixedFrame(kStartCard, 0x2e, 0x30); }
QByteArray sendGetDeviceFileData() { return fixedFrame(kStartCard, 0x31, 0x33); }
QByteArray sendGetDeviceFileSuccessData() { return fixedFrame(kStartCard, 0x33, 0x35); }
QByteArray sendEndSendFileData() { return fixedFrame(kStartCard, 0x35, 0x37); }
QByteArray sendSynchronousDeviceFileFinishData() { return fixedFrame(kStartCard, 0x3b, 0x3d); }
QByteArray sendCancelSynchronousDeviceFileData() { return fixedFrame(kStartCard, 0x42, 0x44); }
QByteArray sendGetAuthData() { return fixedFrame(kStartCard, 0x50, 0x52); }
// clang-format on

std::optional<QByteArray> sendSetBluetoothNameData(const QString &name)
{
    return textFrame(kStartShort, 0x07, lowBytesOfUtf16(name), "Bluetooth name");
}

QByteArray sendSetCountryInfoData(int country)
{
    return oneByteFrame(kStartShort, 0x0b, country, 0x11);
}

QByteArray sendSetChannelInfoData(int channel)
{
    return oneByteFrame(kStartShort, 0x0f, channel, 0x16);
}

QByteArray sendSetHiddenRecordData(bool hidden)
{
    return oneByteFrame(kStartCard, 0x1c, hidden ? 0 : 1, 0x1e);
}

QByteArray sendSetCurrentModeData(int mode)
{
    return oneByteFrame(kStartCard, 0x1a, mode, 0x1c);
}

QByteArray sendSetCurrentTimeData(const QDateTime &now)
{
    const QString text =
        pz::ConvertStrToTime(QString::number(now.toSecsSinceEpoch()), QStringLiteral("yyyy-MM-dd-HH-mm-ss"));
    // Nineteen ASCII characters: always fits.
    return *textFrame(kStartCard, 0x25, text.toLatin1(), "time");
}

std::optional<QByteArray> sendDeleteDeviceFileData(const QString &name)
{
    return textFrame(kStartCard, 0x36, lowBytesOfUtf16(name), "file name");
}

std::optional<QByteArray> sendSynchronousDeviceFileData(const QString &text)
{
    return textFrame(kStartCard, 0x38, text.toUtf8(), "file text");
}

} // namespace proto::gadget
