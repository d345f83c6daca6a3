// The pure classifier: which family, kind, command, status and payload a report has,
// whether its family acknowledges it, and which reports are too short to be read.
#include "HidReportClassifier.h"
#include "RecordingHidSink.h"

#include <gtest/gtest.h>

using namespace proto;
using K = HidReportKind;
using F = HidReportFamily;
using Rt = HidReplyRoute;

namespace {

QByteArray R(int n, const char *hex)
{
    return RecordingHidSink::R(n, hex);
}

HidReportContext ctx(int plan, int type = 1, quint16 vid = 0x3151, quint16 pid = 0x22AB, bool p113 = false)
{
    return HidReportContext{plan, type, vid, pid, p113};
}

TEST(HidReportClassifier, RecognisesEveryFamily)
{
    const struct {
        const char *what;
        HidReportContext c;
        QByteArray report;
        F family;
        K kind;
        int command;
        int status;
        Rt route;
        bool ack;
        bool completion;
    } rows[] = {
        {"framed key", ctx(2), R(64, "0d5a4d31004c"), F::Framed, K::Reply, 0x31, 0, Rt::Key, true, true},
        {"framed 0x69 never acknowledged", ctx(2), R(64, "0d5a4d6900"), F::Framed, K::Reply, 0x69, 0,
         Rt::ConnectionStatus, false, true},
        {"framed 0x00 acknowledged", ctx(2), R(64, "0d5a4d0000"), F::Framed, K::Reply, 0, 0, Rt::Key, true, true},
        {"framed unknown command, negative status", ctx(2), R(64, "0d5a4d99ff"), F::Framed, K::Reply, 0x99, -1,
         Rt::None, true, true},
        {"framed 0d6a4d prefix", ctx(2), R(64, "0d6a4d600080"), F::Framed, K::Reply, 0x60, 0, Rt::Unplugged, true,
         true},
        {"framed bare 4d prefix", ctx(2), R(64, "4d1300210a"), F::Framed, K::Reply, 0x21, 10, Rt::InfoRequest, true,
         true},
        {"type 5 takes the framed path on plan 6, command byte 2", ctx(6, 5), R(8, "4d133185"), F::Framed, K::Reply,
         0x31, -123, Rt::Key, true, true},
        {"type 5 on plan 3", ctx(3, 5), R(8, "4d136985"), F::Framed, K::Reply, 0x69, -123, Rt::ConnectionStatus, false,
         true},
        {"framed voice", ctx(2), R(64, "0d5a3f020500"), F::Framed, K::Voice, -1, 0, Rt::None, false, false},
        {"receiver firmware", ctx(2), R(64, "0dabc10100"), F::Framed, K::ReceiverFirmware, 0xc1, 0, Rt::None, false,
         false},
        {"remote firmware start", ctx(2), R(64, "0d81abc06400"), F::Framed, K::RemoteFirmware, 0xc0, 0, Rt::None, false,
         false},
        {"remote firmware end", ctx(2), R(64, "0d81abc2000055"), F::Framed, K::RemoteFirmware, 0xc2, 0, Rt::None, false,
         false},
        {"receiver connection", ctx(2), R(64, "0d524301"), F::Framed, K::ReceiverConnection, -1, 0, Rt::None, false,
         false},
        {"framed unknown prefix", ctx(2), R(64, "0d1122"), F::Framed, K::Ignored, -1, 0, Rt::None, false, false},
        {"plan 7 reply", ctx(7), R(21, "a6054d3300"), F::Plan7, K::Reply, 0x33, 0, Rt::Key, true, false},
        {"plan 7 command above c3: acknowledged, no handler", ctx(7), R(21, "a6054dc400"), F::Plan7, K::Reply, 0xc4, 0,
         Rt::None, true, false},
        {"plan 7 other prefix with byte 3 set", ctx(7), R(21, "0c000001"), F::Plan7, K::Ignored, 1, 0, Rt::None, true,
         false},
        {"plan 7 voice with byte 3 set", ctx(7), R(64, "a5000080100300"), F::Plan7, K::Voice, 0x80, 0x10, Rt::None,
         true, false},
        {"plan 7 gone", ctx(7), R(21, "a6054d0000"), F::Plan7, K::Reply, 0, 0, Rt::Gone, false, false},
        {"plan 6 key, product 56", ctx(6), R(21, "0c4d053300"), F::Plan6, K::Reply, 0x33, 0, Rt::Key, false, false},
        {"plan 6 key, product 113", ctx(6, 1, 0x248A, 0x61AB, true), R(21, "0c4d053300"), F::Plan6, K::Reply, 0x33, 0,
         Rt::Key, true, false},
        {"plan 6 info never acknowledged", ctx(6, 1, 0x248A, 0x61AB, true), R(21, "0c4d136100"), F::Plan6, K::Reply,
         0x61, 0, Rt::DeviceInfo, false, false},
        {"plan 6 unlisted command: present only", ctx(6), R(21, "0c4d051000"), F::Plan6, K::Reply, 0x10, 0,
         Rt::PresentOnly, false, false},
        {"plan 6 time reply", ctx(6), R(21, "1c4d058401"), F::Plan6, K::Reply, 0x84, 1, Rt::Key, false, false},
        {"plan 6 voice", ctx(6), R(33, "1be803"), F::Plan6, K::Voice, -1, 0, Rt::None, false, false},
        {"plan 6 voice chip", ctx(6), R(21, "0c4e010212ab"), F::Plan6, K::VoiceChip, 1, 0, Rt::None, false, false},
        {"plan 4 key", ctx(4, 1, 0x3151, 0x10AB), R(21, "0c1135"), F::Plan4, K::Plan4Key, 0x35, 0, Rt::None, true,
         false},
        {"plan 4 key re-framed on 0x12AB", ctx(4, 1, 0x3151, 0x12AB), R(21, "0c991133"), F::Plan4, K::Plan4Key, 0x33, 0,
         Rt::None, true, false},
        {"same bytes on 0x11AB match no prefix", ctx(4, 1, 0x3151, 0x11AB), R(21, "0c991133"), F::Plan4, K::Plan4Other,
         -1, 0, Rt::None, false, false},
        {"plan 4 info", ctx(4, 1, 0x3151, 0x10AB), R(21, "0c102f550d000203"), F::Plan4, K::Plan4Info, 0x2f, 0, Rt::None,
         false, false},
        {"plan 4 DPI acknowledgement", ctx(4, 1, 0x3151, 0x10AB), R(21, "0c1022"), F::Plan4, K::Plan4InfoRequest, 0x22,
         0, Rt::None, false, false},
        {"plan 4 firmware", ctx(4, 1, 0x3151, 0x10AB), R(21, "0c102e5631"), F::Plan4, K::Plan4Firmware, 0x2e, 0,
         Rt::None, false, false},
        {"plan 4 gone", ctx(4, 1, 0x3151, 0x10AB), R(21, "0c00"), F::Plan4, K::Plan4Other, -1, 0, Rt::None, false,
         false},
        {"plan 3 status", ctx(3), R(24, "0d0150"), F::Plan3, K::Plan3Status, -1, 0, Rt::None, false, false},
        {"plan 1 ignored", ctx(1), R(16, "0d5a4d3100"), F::None, K::Ignored, -1, 0, Rt::None, false, false},
        {"plan 5 ignored", ctx(5), R(64, "4d05610000"), F::None, K::Ignored, -1, 0, Rt::None, false, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        const HidReport r = classifyHidReport(row.report, row.c);
        EXPECT_EQ(r.family, row.family);
        EXPECT_EQ(r.kind, row.kind) << hidReportKindName(r.kind);
        EXPECT_EQ(r.command, row.command);
        EXPECT_EQ(r.status, row.status);
        EXPECT_EQ(r.route, row.route);
        EXPECT_EQ(r.acknowledge, row.ack);
        EXPECT_EQ(r.callsCompletion, row.completion);
    }
}

TEST(HidReportClassifier, PayloadPositionsAndReframing)
{
    // Framed: bytes 5 to length-2 (the closing byte is not payload); type 5: 3 to the end.
    HidReport r = classifyHidReport(QByteArray::fromHex("0d5a4d6100aabbcc4c"), ctx(2));
    EXPECT_EQ(r.payload().toByteArray(), QByteArray::fromHex("aabbcc"));
    r = classifyHidReport(QByteArray::fromHex("4d13610011223344"), ctx(2, 5));
    EXPECT_EQ(r.payload().toByteArray(), QByteArray::fromHex("0011223344"));
    // The re-framed report keeps byte 0 and drops byte 1; byte 1 stays known for the voice layouts.
    r = classifyHidReport(QByteArray::fromHex("0c7710380102030405060708"), ctx(4, 1, 0x3151, 0x12AB));
    EXPECT_EQ(r.bytes, QByteArray::fromHex("0c10380102030405060708"));
    EXPECT_EQ(r.byte1, 0x77);
    EXPECT_TRUE(r.reframed);
    EXPECT_EQ(r.kind, K::Plan4Serial);
}

TEST(HidReportClassifier, ReportsTooShortForTheirReadsAreNeverAcknowledged)
{
    const struct {
        const char *what;
        HidReportContext c;
        const char *hex;
    } rows[] = {
        {"framed header without status", ctx(2), "0d5a4d31"},
        {"framed information with 39 payload bytes", ctx(2), nullptr},
        {"type 5 header", ctx(2, 5), "4d1361"},
        {"plan 7 without byte 3", ctx(7), "a6054d"},
        {"plan 7 reply without status", ctx(7), "a6054d33"},
        {"plan 7 information of 20 bytes", ctx(7), "a6134d6151582023120600000001070204125000"},
        {"plan 6 connection status of 8 bytes", ctx(6), "0c4d086900500801"},
        {"plan 4 information of 7 bytes", ctx(4, 1, 0x3151, 0x10AB), "0c102f550d0002"},
        {"plan 4 serial of 8 bytes", ctx(4, 1, 0x3151, 0x10AB), "0c1038123456789a"},
        {"plan 3 status of 20 bytes", ctx(3), "0d015000000000000000000000000000000000"},
        {"receiver firmware packet reply", ctx(2), "0dabc101"},
        {"remote firmware end", ctx(2), "0d81abc20000"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        QByteArray bytes = row.hex ? QByteArray::fromHex(row.hex) : R(45, "0d5a4d6100");
        if (!row.hex)
            bytes[44] = 0x4c;
        const HidReport r = classifyHidReport(bytes, row.c);
        EXPECT_EQ(r.kind, K::TooShort) << hidReportKindName(r.kind);
        EXPECT_FALSE(r.acknowledge);
        EXPECT_FALSE(r.callsCompletion);
        EXPECT_GT(r.requiredLength, r.size());
    }
    // Reports of 0 to 4 bytes classify without reading past their end.
    for (int plan = 0; plan <= 7; ++plan)
        for (int type = 1; type <= 5; ++type)
            for (int n = 0; n <= 4; ++n) {
                const HidReport r = classifyHidReport(QByteArray(n, char(0x4d)), ctx(plan, type));
                EXPECT_LE(r.payloadOffset + r.payloadLength, r.size());
            }
}

TEST(HidReportClassifier, DeviceTextIsLatin1WithoutNuls)
{
    EXPECT_EQ(hidDeviceText(QByteArray::fromHex("56312e3200")), QStringLiteral("V1.2"));
    EXPECT_EQ(hidDeviceText(QByteArray::fromHex("00e9ff00")), QString::fromUtf8("\u00e9\u00ff"));
    EXPECT_EQ(hidDeviceText(QByteArray()), QString());
    EXPECT_EQ(hidHexText(QByteArray::fromHex("00ab")), QStringLiteral("00ab"));
}

} // namespace
