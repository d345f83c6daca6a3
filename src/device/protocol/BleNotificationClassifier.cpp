#include "BleNotificationClassifier.h"

#include "ReceiverTable.h"

namespace proto {
namespace {

uint8_t at(QByteArrayView bytes, qsizetype i)
{
    return uint8_t(bytes[i]);
}

uint16_t le16(QByteArrayView bytes, qsizetype i)
{
    return uint16_t(at(bytes, i) | (at(bytes, i + 1) << 8));
}

// Device text fields are fixed-width and NUL-padded; Latin-1 keeps every byte a
// character, so a stray high byte cannot break the text.
QString deviceText(QByteArrayView bytes)
{
    QString text = QString::fromLatin1(bytes);
    text.remove(QChar(u'\0'));
    return text;
}

// An unset serial number reads as zeros, as text or as bytes.
QString serialOrEmpty(QString sn)
{
    for (QChar c : sn)
        if (c != u'0')
            return sn;
    return {};
}

using A = BleKeyAction;
constexpr BleKeyRow kKeys[] = {
    {0x31, 57, A::OpenMicSearch}, {0x32, 58, A::CloseMicSearch}, {0x33, 51, A::Toggle},     {0x35, 55, A::None},
    {0x37, 53, A::VoiceDown},     {0x38, 54, A::VoiceUp},        {0x40, 52, A::ModeSwitch}, {0x41, 56, A::None},
    {0x42, 59, A::Toggle},        {0x43, 60, A::ModeSwitch},     {0x44, 61, A::VoiceDown},  {0x45, 62, A::VoiceUp},
    {0x46, 63, A::None},          {0x47, 64, A::None},           {0x48, 65, A::None},       {0x49, 66, A::None},
};

} // namespace

BleNotification classifyBleNotification(QByteArrayView value, bool pointerLayout)
{
    BleNotification n;
    if (value.size() < 2 || at(value, 0) != kBleFrameStart || at(value, value.size() - 1) != kBleFrameEnd)
        return n; // voice
    if (value.size() < kBleMinFrameBytes) {
        n.kind = BleValueKind::ShortFrame;
        return n;
    }
    n.kind = BleValueKind::Frame;
    n.event = at(value, pointerLayout ? 2 : 1);
    n.status = at(value, 2);
    n.payload = value.sliced(3, value.size() - 4);
    if (!n.payload.isEmpty())
        n.value = at(n.payload, 0);
    return n;
}

std::optional<BleDeviceInfo> readBleDeviceInfo(QByteArrayView p, bool pointerLayout)
{
    BleDeviceInfo info;
    if (pointerLayout) {
        if (p.size() < kBlePointerInfoPayloadBytes)
            return std::nullopt;
        info.sn = serialOrEmpty(QString::fromLatin1(p.first(6).toByteArray().toHex()));
        info.pid = le16(p, 6);
        info.vid = le16(p, 8);
        const uint8_t flags = at(p, 10);
        if (flags <= 3) {
            info.led = (flags >> 1) & 1;
            info.mic = flags & 1;
        }
        info.icType = at(p, 11);
        info.dpi = at(p, 12);
        info.mouseType = at(p, 13);
        info.powerPercent = at(p, 14);
        info.firmwareVersion = QString::fromLatin1(p.sliced(15, 1).toByteArray().toHex());
        return info;
    }
    if (p.size() < kBleInfoPayloadBytes)
        return std::nullopt;
    info.sn = serialOrEmpty(deviceText(p.first(30)));
    info.pid = le16(p, 30);
    info.vid = le16(p, 32);
    info.led = at(p, 34);
    info.mic = at(p, 35);
    info.icType = at(p, 36);
    info.dpi = at(p, 37);
    info.mouseType = at(p, 38);
    info.powerPercent = at(p, 39);
    if (p.size() >= kBleInfoWithVersionBytes)
        info.firmwareVersion = deviceText(p.sliced(40, 6));
    return info;
}

std::optional<int> bleMouseSource(uint16_t vid, uint16_t pid)
{
    return qx::receivers::mouseSourceOfProduct(vid, pid);
}

const BleKeyRow *bleKeyRow(uint8_t event)
{
    for (const BleKeyRow &row : kKeys)
        if (row.event == event)
            return &row;
    return nullptr;
}

} // namespace proto
