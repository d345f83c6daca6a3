#include "GadgetNotification.h"

#include "GadgetFrames.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace proto::gadget {

namespace {

struct EventRow {
    uint8_t event;
    int result;
};

constexpr std::array<EventRow, 18> kEvents = {{
    {0x01, kResultHandshake},
    {0x04, 2},
    {0x06, kResultMacAddress},
    {0x0a, 5},
    {0x0c, 6},
    {0x0e, 7},
    {0x10, 8},
    {0x12, 9},
    {0x13, 30}, // left translation key pressed
    {0x15, 31}, // left translation key released
    {0x17, 32}, // right translation key pressed
    {0x19, 33}, // right translation key released
    {0x1c, 34},
    {0x1e, 35},
    {0x32, 36},
    {0x33, 15}, // recording started on the gadget
    {0x35, 16}, // recording header
    {0x36, 17}, // play key
}};

// The recording header does not follow the frame layout; it is recognised by its
// first four bytes.
constexpr char kRecordHeader[] = "\x10\x81\x00\xa0";
constexpr uint8_t kRecordHeaderEvent = 0x35;
constexpr uint8_t kMacEvent = 0x06;

qsizetype findStart(const uint8_t *b, qsizetype n, qsizetype from)
{
    for (qsizetype i = from; i + 1 < n; ++i) {
        if (b[i] == kStartShort && b[i + 1] == kMarker)
            return i;
    }
    return -1;
}

qint64 bigEndianSaturated(QByteArrayView bytes)
{
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (char c : bytes) {
        const uint8_t d = uint8_t(c);
        if (value > (kMax - d) / 256)
            return kMax;
        value = value * 256 + d;
    }
    return value;
}

} // namespace

QByteArrayList splitGadgetFrames(const QByteArray &value)
{
    const auto *b = reinterpret_cast<const uint8_t *>(value.constData());
    const qsizetype n = value.size();

    // Every frame claims at least its four header bytes plus what its length byte
    // counts (the fixed frames count data and check, the device's MAC reply counts
    // through the end byte), so no frame can start before that.
    std::vector<qsizetype> starts;
    for (qsizetype s = findStart(b, n, 0); s >= 0;) {
        starts.push_back(s);
        const qsizetype claimed = s + 3 < n ? qsizetype(b[s + 3]) : 0;
        s = findStart(b, n, s + 4 + claimed);
    }

    QByteArrayList frames;
    for (size_t k = 0; k < starts.size(); ++k) {
        const qsizetype begin = starts[k];
        const qsizetype end = k + 1 < starts.size() ? starts[k + 1] : n;
        if (end - begin >= kMinValueBytes && b[end - 1] == kEndShort)
            frames << value.mid(begin, end - begin);
    }
    if (frames.size() < 2)
        return {};
    return frames;
}

GadgetNotification readGadgetNotification(const QByteArray &frame)
{
    GadgetNotification n;
    if (frame.size() > 2)
        n.event = uint8_t(frame.at(2));
    if (frame.startsWith(QByteArrayView(kRecordHeader, 4)))
        n.event = kRecordHeaderEvent;

    if (frame.size() >= kMinPayloadFrameBytes) {
        // Between the header and the check and end bytes.
        const QByteArrayView payload = QByteArrayView(frame).sliced(4, frame.size() - 6);
        n.status = bigEndianSaturated(payload);
        if (n.event == kMacEvent) {
            QStringList pairs;
            for (char c : payload)
                pairs << QStringLiteral("%1").arg(uint8_t(c), 2, 16, QLatin1Char('0'));
            n.text = pairs.join(QLatin1Char(':'));
        } else {
            n.text = QString::fromLatin1(payload);
        }
    }
    n.result = gadgetResultCode(n.event);
    return n;
}

int gadgetResultCode(int event)
{
    const auto it =
        std::find_if(kEvents.begin(), kEvents.end(), [event](const EventRow &r) { return r.event == event; });
    return it == kEvents.end() ? kResultUnknown : it->result;
}

} // namespace proto::gadget
