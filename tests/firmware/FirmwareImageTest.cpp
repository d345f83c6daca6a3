// The image parser, the frames of every target and the progress values.
#include "FirmwareImage.h"
#include "FirmwareFrames.h"
#include "FirmwareTestImages.h"

#include <gtest/gtest.h>

using namespace proto;
using fwtest::lines;
using fwtest::mouseFile;

namespace {

QByteArray hex(const char *h)
{
    return QByteArray::fromHex(h);
}

FirmwareImage parsed(const QByteArray &file, FirmwareTarget target)
{
    FirmwareImageResult r = parseFirmwareImage(file, target);
    EXPECT_TRUE(r.ok()) << r.message.toStdString();
    return r.ok() ? *r.image : FirmwareImage{};
}

TEST(FirmwareImage, ReadsTheLinesOfEachTarget)
{
    struct Row {
        const char *what;
        FirmwareTarget target;
        QByteArray file;
        QByteArray bytes;
        quint32 checksum;
        int packets;
    };
    const Row rows[] = {
        {"mouse: header skipped, CRLF lines", FirmwareTarget::Mouse, mouseFile("01\r\nff\r\n10\r\n"), hex("01ff10"),
         0x110, 1},
        {"receiver: whole file, three lines dropped", FirmwareTarget::Receiver, "A\r\nB\r\nC\r\n0a\r\n0b\r\n",
         hex("0a0b"), 0x15, 1},
        {"receiver: dropped lines may be anything", FirmwareTarget::Receiver, "<x>\r\n\r\n\xff\xfe\r\nzz\r\n7f",
         hex("7f"), 0x7f, 1},
        {"remote: no closing CRLF", FirmwareTarget::Remote, mouseFile("01\r\n02\r\n03"), hex("010203"), 6, 1},
        {"Bluetooth LE: blank lines anywhere are not lines", FirmwareTarget::BleMouse,
         mouseFile("\r\n0a\r\n\r\n\r\n0b\r\n\r\n"), hex("0a0b"), 0x15, 1},
        {"single digits and capitals", FirmwareTarget::Mouse, mouseFile("a\r\nFF\r\n0F"), hex("0aff0f"), 0x118, 1},
        {"the header may hold CRLF and non-text", FirmwareTarget::Mouse,
         QByteArray("\r\n\0\xff\x01\r\n56789A", 12) + "02", hex("02"), 2, 1},
        {"58 mouse lines: two packets", FirmwareTarget::Mouse, mouseFile(lines(58)), fwtest::values(58), 1653, 2},
        {"113 remote lines: three packets", FirmwareTarget::Remote, mouseFile(lines(113)), fwtest::values(113),
         113 * 112 / 2, 3},
        {"300 Bluetooth LE lines: three packets", FirmwareTarget::BleMouse, mouseFile(lines(300)), fwtest::values(300),
         33586, 3},
    };
    for (const Row &r : rows) {
        const FirmwareImageResult res = parseFirmwareImage(r.file, r.target);
        ASSERT_TRUE(res.ok()) << r.what << ": " << res.message.toStdString();
        EXPECT_EQ(res.image->bytes.toHex(), r.bytes.toHex()) << r.what;
        EXPECT_EQ(res.image->checksum, r.checksum) << r.what;
        EXPECT_EQ(res.image->packetCount(), r.packets) << r.what;
    }
}

TEST(FirmwareImage, RefusesWhatIsNotAnImage)
{
    using E = FirmwareImageError;
    struct Row {
        const char *what;
        FirmwareTarget target;
        QByteArray file;
        E error;
        int line;
    };
    const Row rows[] = {
        {"shorter than the header", FirmwareTarget::Mouse, "HDR-12BYTES", E::ShorterThanHeader, 0},
        {"empty file, Bluetooth LE", FirmwareTarget::BleMouse, "", E::ShorterThanHeader, 0},
        {"only the header", FirmwareTarget::Remote, fwtest::kHeader, E::Empty, 0},
        {"only blank lines", FirmwareTarget::Mouse, mouseFile("\r\n\r\n\r\n"), E::Empty, 0},
        {"receiver with nothing after its three lines", FirmwareTarget::Receiver, "a\r\nb\r\nc\r\n", E::Empty, 0},
        {"not hexadecimal", FirmwareTarget::Mouse, mouseFile("01\r\n0g\r\n02\r\n"), E::BadLine, 2},
        {"more than a byte", FirmwareTarget::Mouse, mouseFile("01\r\n100\r\n"), E::BadLine, 2},
        {"more than a byte, Bluetooth LE", FirmwareTarget::BleMouse, mouseFile("1ff\r\n"), E::BadLine, 1},
        {"white space", FirmwareTarget::Remote, mouseFile("01\r\n 2\r\n"), E::BadLine, 2},
        {"a 0x prefix", FirmwareTarget::Mouse, mouseFile("0x1f\r\n"), E::BadLine, 1},
        {"LF line ends", FirmwareTarget::Mouse, mouseFile("01\n02\n"), E::BadLine, 1},
        {"bad line after blank ones keeps its line number", FirmwareTarget::BleMouse, mouseFile("01\r\n\r\n\r\nzz"),
         E::BadLine, 4},
        {"an HTML error page saved as the image", FirmwareTarget::Mouse,
         "<!DOCTYPE html>\r\n<html><head><title>404 Not Found</title></head></html>\r\n", E::BadLine, 1},
        {"an HTML page as a receiver image", FirmwareTarget::Receiver,
         "<!DOCTYPE html>\r\n<html>\r\n<body>\r\n<h1>Not Found</h1>\r\n</body>\r\n", E::BadLine, 4},
    };
    for (const Row &r : rows) {
        const FirmwareImageResult res = parseFirmwareImage(r.file, r.target);
        EXPECT_FALSE(res.ok()) << r.what;
        EXPECT_EQ(res.error, r.error) << r.what;
        EXPECT_EQ(res.line, r.line) << r.what;
        EXPECT_FALSE(res.message.isEmpty()) << r.what;
    }
}

TEST(FirmwareImage, PacketIndicesMustFitSixteenBits)
{
    const QByteArray line("00\r\n");
    // The mouse numbers packets from 0: 65,535 packets are the most.
    EXPECT_TRUE(parseFirmwareImage(mouseFile(line.repeated(65535 * 57)), FirmwareTarget::Mouse).ok());
    EXPECT_EQ(parseFirmwareImage(mouseFile(line.repeated(65535 * 57 + 1)), FirmwareTarget::Mouse).error,
              FirmwareImageError::TooLarge);
    // The receiver from 1, and its end frame carries one past the last.
    EXPECT_TRUE(parseFirmwareImage(fwtest::receiverFile(line.repeated(65534 * 57)), FirmwareTarget::Receiver).ok());
    EXPECT_EQ(parseFirmwareImage(fwtest::receiverFile(line.repeated(65534 * 57 + 1)), FirmwareTarget::Receiver).error,
              FirmwareImageError::TooLarge);
}

TEST(FirmwareFrames, HidPacketsAndEndFramesByTarget)
{
    const FirmwareImage mouse3 = parsed(mouseFile("01\r\nff\r\n10\r\n"), FirmwareTarget::Mouse);
    const FirmwareImage mouse58 = parsed(mouseFile(lines(58)), FirmwareTarget::Mouse);
    const FirmwareImage receiver = parsed("A\r\nB\r\nC\r\n0a\r\n0b\r\n", FirmwareTarget::Receiver);
    const FirmwareImage remote3 = parsed(mouseFile("01\r\n02\r\n03"), FirmwareTarget::Remote);
    const FirmwareImage remote113 = parsed(mouseFile(lines(113, [](int) { return 0xab; })), FirmwareTarget::Remote);

    struct Row {
        const char *what;
        QByteArray frame;
        QByteArray expected;
    };
    QByteArray fullMouse = hex("0da64d3e710000");
    fullMouse += fwtest::values(57);
    const Row rows[] = {
        {"mouse packet of 3", hidFirmwarePacketFrame(mouse3, 0), hex("0da64d0871000001ff10")},
        {"mouse end frame, 32-bit totals", hidFirmwareEndFrame(FirmwareTarget::Mouse, 1, 3, 0x110),
         hex("0da64d0c7203000000100100004c")},
        {"a full mouse packet fills a 64-byte report", hidFirmwarePacketFrame(mouse58, 0), fullMouse},
        {"mouse second packet of one line", hidFirmwarePacketFrame(mouse58, 1), hex("0da64d0671010039")},
        {"mouse past the last packet", hidFirmwarePacketFrame(mouse58, 2), QByteArray()},
        {"mouse end of 58 lines", hidFirmwareEndFrame(FirmwareTarget::Mouse, 2, 58, 1653),
         hex("0da64d0c723a00000075060000"
             "4c")},
        {"receiver packet 1", hidFirmwarePacketFrame(receiver, 1), hex("0dbac1010002000a0b")},
        {"receiver has no packet 0", hidFirmwarePacketFrame(receiver, 0), QByteArray()},
        {"receiver end frame at index 2", hidFirmwareEndFrame(FirmwareTarget::Receiver, 2, 2, 0x15),
         hex("0dbac20200150000020000")},
        {"receiver end keeps 24 bits", hidFirmwareEndFrame(FirmwareTarget::Receiver, 1, 0x1234567, 0x89abcdef),
         hex("0dbac20100efcdab674523")},
        {"remote packet of 3", hidFirmwarePacketFrame(remote3, 0),
         hex("0d80bac10000030001"
             "0203")},
        {"remote end frame", hidFirmwareEndFrame(FirmwareTarget::Remote, 1, 3, 6),
         hex("0d80bac2010006000003"
             "0000")},
        {"remote packet 1 of 113 lines is full", hidFirmwarePacketFrame(remote113, 1).left(8), hex("0d80bac101003800")},
        {"remote packet 2 of 113 lines has one", hidFirmwarePacketFrame(remote113, 2), hex("0d80bac102000100ab")},
        {"remote end after 113 lines", hidFirmwareEndFrame(FirmwareTarget::Remote, 3, 113, 113 * 0xab),
         hex("0d80bac203007b4b00710000")},
    };
    for (const Row &r : rows)
        EXPECT_EQ(r.frame.toHex(' '), r.expected.toHex(' ')) << r.what;
    EXPECT_EQ(hidFirmwarePacketFrame(remote113, 1).size(), 64);
}

TEST(FirmwareFrames, StartAndCancelByPlan)
{
    const HidFrameList zero{QByteArray()};
    const HidFrameList none;
    EXPECT_EQ(hidFirmwareStartFrames(FirmwareTarget::Mouse, 2), HidFrameList{hex("0da64d04704c")});
    EXPECT_EQ(hidFirmwareStartFrames(FirmwareTarget::Receiver, 2), HidFrameList{hex("0dbac0")});
    EXPECT_EQ(hidFirmwareStartFrames(FirmwareTarget::Remote, 2), HidFrameList{hex("0d80bac0")});
    EXPECT_EQ(hidFirmwareStartFrames(FirmwareTarget::Mouse, 6), zero);
    EXPECT_EQ(hidFirmwareStartFrames(FirmwareTarget::Remote, 6), zero);
    EXPECT_EQ(hidFirmwareStartFrames(FirmwareTarget::Receiver, 6), none);
    EXPECT_EQ(hidFirmwareCancelFrames(FirmwareTarget::Mouse, 2), HidFrameList{hex("0da64d04744c")});
    EXPECT_EQ(hidFirmwareCancelFrames(FirmwareTarget::Mouse, 6), none);
    EXPECT_EQ(hidFirmwareCancelFrames(FirmwareTarget::Receiver, 2), zero);
    EXPECT_EQ(hidFirmwareCancelFrames(FirmwareTarget::Receiver, 4), zero);
    EXPECT_EQ(hidFirmwareCancelFrames(FirmwareTarget::Remote, 2), none);
}

TEST(FirmwareFrames, BluetoothLePackets)
{
    const FirmwareImage e1 = parsed(mouseFile(lines(300)), FirmwareTarget::BleMouse);
    ASSERT_EQ(e1.packetCount(), 3);
    const QByteArray p0 = bleFirmwarePacketFrame(e1, 0);
    const QByteArray p1 = bleFirmwarePacketFrame(e1, 1);
    const QByteArray p2 = bleFirmwarePacketFrame(e1, 2);
    EXPECT_EQ(p0.size(), 133);
    EXPECT_EQ(p0.left(8).toHex(' '), "4d 85 71 00 00 00 01 02");
    EXPECT_EQ(p1.size(), 133);
    EXPECT_EQ(p1.left(8).toHex(' '), "4d 85 71 01 00 80 81 82");
    EXPECT_EQ(p2.size(), 49);
    EXPECT_EQ(p2.left(8).toHex(' '), "4d 31 71 02 00 00 01 02");
    EXPECT_EQ(p2.right(1).toHex(), "2b");
    EXPECT_TRUE(bleFirmwarePacketFrame(e1, 3).isEmpty());
    EXPECT_TRUE(firmwarePacketsDone(e1, 3));
    EXPECT_FALSE(firmwarePacketsDone(e1, 2));

    const FirmwareImage e2 = parsed(mouseFile("01\r\nff\r\n10\r\n"), FirmwareTarget::BleMouse);
    EXPECT_EQ(bleFirmwarePacketFrame(e2, 0).toHex(' '), "4d 08 71 00 00 01 ff 10");

    // 256 lines are exactly two packets; packet 256 carries the index bytes 00 01.
    EXPECT_EQ(parsed(mouseFile(lines(256)), FirmwareTarget::BleMouse).packetCount(), 2);
    const FirmwareImage big = parsed(mouseFile(lines(257 * 128)), FirmwareTarget::BleMouse);
    EXPECT_EQ(bleFirmwarePacketFrame(big, 256).left(5).toHex(' '), "4d 85 71 00 01");
}

TEST(FirmwareFrames, ProgressIsWholePercentNeverAboveAHundred)
{
    struct Row {
        qint64 index;
        int packets;
        int percent;
    };
    const Row rows[] = {
        {0, 2, 0},     {1, 2, 50},    {2, 2, 100}, // the mouse: the end step shows 100
        {0, 3, 0},     {1, 3, 33},    {2, 3, 66},
        {3, 3, 100},   {1, 1, 100},   {2, 1, 100}, // the receiver counts from 1; its end step is one past
        {29, 100, 29}, {57, 100, 57},              // whole numbers, not floating-point residue
        {0, 0, 100},                               // nothing to send
    };
    for (const Row &r : rows)
        EXPECT_EQ(firmwareProgress(r.index, r.packets), r.percent) << r.index << "/" << r.packets;
}

} // namespace
