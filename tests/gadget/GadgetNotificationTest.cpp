#include "GadgetNotification.h"

#include <gtest/gtest.h>

#include <limits>

namespace g = proto::gadget;

namespace {

QByteArray bytes(const char *hex)
{
    return QByteArray::fromHex(hex);
}

QString framesHex(const QByteArrayList &frames)
{
    QStringList out;
    for (const QByteArray &f : frames)
        out << QString::fromLatin1(f.toHex(' '));
    return out.join(QLatin1String(" | "));
}

} // namespace

TEST(GadgetNotification, SplitsOnlyWhereAFrameCanStart)
{
    const struct {
        const char *name;
        const char *value;
        const char *frames; // "" = read the value as one frame
    } rows[] = {
        {"two frames back to back", "05 12 04 02 00 06 21 05 12 0a 02 00 0c 21",
         "05 12 04 02 00 06 21 | 05 12 0a 02 00 0c 21"},
        {"bytes before the first frame are not a frame", "aa 21 05 12 04 02 00 06 21 05 12 0a 02 00 0c 21",
         "05 12 04 02 00 06 21 | 05 12 0a 02 00 0c 21"},
        {"one frame", "05 12 04 02 00 06 21", ""},
        {"a piece that does not end in 21 is dropped", "05 12 04 02 00 06 22 05 12 0a 02 00 0c 21", ""},
        {"0512 across byte boundaries is no start", "05 12 06 08 c2 10 51 22 10 51 00 21", ""},
        {"05 12 after a 21 inside the claimed length is data", "05 12 06 08 a1 21 05 12 e5 f6 00 21", ""},
        {"a frame claiming more than the value", "05 12 04 ff 00 06 21 05 12 0a 02 00 0c 21", ""},
        {"a lone marker at the very end", "05 12 04 02 00 06 21 05", ""},
        {"three-byte pieces are too short", "05 12 04 02 00 06 21 05 12 21", ""},
    };
    for (const auto &r : rows)
        EXPECT_EQ(framesHex(g::splitGadgetFrames(bytes(r.value))), QLatin1String(r.frames)) << r.name;
}

TEST(GadgetNotification, ReadsEventTextAndStatus)
{
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    const QByteArray zeros300(300, '\0');
    const QByteArray huge =
        QByteArray::fromHex("05 12 10 ff 01") + QByteArray(299, '\0') + QByteArray::fromHex("00 21");
    const struct {
        const char *name;
        QByteArray frame;
        int event;
        int result;
        QString text;
        qint64 status;
    } rows[] = {
        {"device info reply", bytes("05 12 04 02 00 06 21"), 0x04, 2, QString(QChar(0)), 0},
        {"MAC address", bytes("05 12 06 08 a1 b2 c3 d4 e5 f6 00 21"), 0x06, 3, QStringLiteral("a1:b2:c3:d4:e5:f6"),
         0xa1b2c3d4e5f6LL},
        {"recording header", bytes("10 81 00 a0 01 02 03 04"), 0x35, 16, QStringLiteral("\x01\x02"), 0x0102},
        {"short frame: no text, no status", bytes("05 12 01 21"), 0x01, 1, QString(), g::kNoStatus},
        {"text as Latin-1", bytes("13 12 1e 04 41 e9 42 00 28"), 0x1e, 35, QStringLiteral("A\u00e9B"), 0x41e942},
        {"unknown event", bytes("05 12 7f 02 00 81 21"), 0x7f, 0, QString(QChar(0)), 0},
        // A long payload must not wrap to zero: only all-zero bytes read as success.
        {"five bytes ending in zeros", bytes("05 12 01 07 01 00 00 00 00 09 21"), 0x01, 1,
         QString::fromLatin1(bytes("01 00 00 00 00")), 0x0100000000LL},
        {"huge payload, non-zero", huge, 0x10, 8, QString::fromLatin1(huge.mid(4, 300)), kMax},
        {"huge payload, zero", bytes("05 12 10 ff") + zeros300 + bytes("00 21"), 0x10, 8, QString::fromLatin1(zeros300),
         0},
    };
    for (const auto &r : rows) {
        const g::GadgetNotification n = g::readGadgetNotification(r.frame);
        EXPECT_EQ(n.event, r.event) << r.name;
        EXPECT_EQ(n.result, r.result) << r.name;
        EXPECT_EQ(n.text, r.text) << r.name;
        EXPECT_EQ(n.status, r.status) << r.name;
    }
}

TEST(GadgetNotification, ResultCodes)
{
    const std::pair<int, int> rows[] = {{0x01, 1},  {0x04, 2},  {0x06, 3},  {0x0a, 5},  {0x0c, 6},  {0x0e, 7},
                                        {0x10, 8},  {0x12, 9},  {0x13, 30}, {0x15, 31}, {0x17, 32}, {0x19, 33},
                                        {0x1c, 34}, {0x1e, 35}, {0x32, 36}, {0x33, 15}, {0x35, 16}, {0x36, 17},
                                        {0x00, 0},  {0x02, 0},  {0x05, 0},  {0x34, 0},  {0xff, 0}};
    for (const auto &[event, result] : rows)
        EXPECT_EQ(g::gadgetResultCode(event), result) << event;
}
