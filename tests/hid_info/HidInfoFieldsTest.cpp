// Single-byte readings and the fixed tables of the device-information report.
#include "HidInfoFields.h"
#include "LaserPenRequests.h"

#include <gtest/gtest.h>

using namespace hidinfo;

TEST(HidReaderFields, DigitReadingIsTheHexTextReadAsDecimal)
{
    struct Row {
        quint8 byte;
        int digits;
    } rows[] = {
        {0x64, 64}, {0x09, 9}, {0x01, 1}, {0x11, 11}, {0x99, 99}, {0x9a, 9}, // a letter ends the number
        {0xa0, 0},                                                           // no digit before the letter
        {0xff, 0},  {0x00, 0},
    };
    for (const Row &r : rows)
        EXPECT_EQ(digitValue(r.byte), r.digits) << "byte 0x" << std::hex << int(r.byte);
}

TEST(HidReaderFields, SensorByteAndDpiByte)
{
    struct Row {
        quint8 byte;
        quint64 icType, mouseType;
    } rows[] = {
        {0x21, 2, 1},  {0x12, 1, 0}, {0x35, 5, 2},
        {0xf6, 6, 14}, {0x05, 5, 0}, // no mouse type nibble: unknown, not a wrapped-around huge number
        {0x00, 0, 0},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(icTypeFromSensorByte(r.byte), r.icType) << int(r.byte);
        EXPECT_EQ(mouseTypeFromSensorByte(r.byte), r.mouseType) << int(r.byte);
    }
}

TEST(HidReaderFields, PlanTwoSensorIds)
{
    EXPECT_EQ(icTypeFromSensorId(0x32, 0x12), 1u);
    EXPECT_EQ(icTypeFromSensorId(0x32, 0x05), 2u);
    EXPECT_EQ(icTypeFromSensorId(0x30, 0x65), 4u);
    EXPECT_EQ(icTypeFromSensorId(0x30, 0x66), 5u);
    EXPECT_EQ(icTypeFromSensorId(0x86, 0x50), 6u);
    EXPECT_EQ(icTypeFromSensorId(0x12, 0x32), 2u); // byte order matters
    EXPECT_EQ(icTypeFromSensorId(0x00, 0x00), 2u);
}

TEST(HidPressType, PointerReceiverKeyBytes)
{
    const std::pair<quint8, int> rows[] = {{0x42, 64}, {0x45, 69}, {0x46, 70}, {0x47, 32}, {0x48, 39},
                                           {0x49, 40}, {0x4a, 37}, {0x4b, 38}, {0x4c, 69}, {0x00, 0},
                                           {0x41, 0},  {0x4d, 0},  {0x25, 0},  {0xff, 0}};
    for (auto [byte, code] : rows)
        EXPECT_EQ(pointerReceiverKeyCode(byte), code) << "byte 0x" << std::hex << int(byte);
}

TEST(HidPressType, NonPointerTable)
{
    struct Row {
        qint64 code;
        int typing, translating;
    } rows[] = {
        {49, 35, 35}, {50, 36, 36}, {51, 33, 37}, {52, 34, 38}, {53, 37, 37},
        {54, 38, 38}, {80, 50, 50}, {55, 0, 0},   {63, 0, 0},   {64, 0, 0},
        {0, 0, 0},    {48, 0, 0},   {81, 0, 0},   {-1, 0, 0},   {1LL << 40, 0, 0},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(nonPointerPressType(r.code, false), r.typing) << r.code;
        EXPECT_EQ(nonPointerPressType(r.code, true), r.translating) << r.code;
    }
}

TEST(HidReaderFields, PointerRequestReports)
{
    using namespace laserpen;
    EXPECT_EQ(modeReport(2, 0, 8).toHex(), "0da5a70500000000");
    EXPECT_EQ(modeReport(2, 4, 4).toHex(), "0da5a703");
    EXPECT_EQ(modeReport(2, 1, 4).toHex(), "0da5a701");
    EXPECT_EQ(modeReport(1, 2, 6).toHex(), "0d0511020000");
    EXPECT_EQ(openWebsiteReport(2, true, 4).toHex(), "0da5a900");
    EXPECT_EQ(openWebsiteReport(2, false, 4).toHex(), "0da5a800");
    EXPECT_TRUE(openWebsiteReport(1, true, 4).isEmpty());
    EXPECT_EQ(openMicReport(2, true, 4).toHex(), "0da5aa00");
    EXPECT_EQ(openMicReport(2, false, 4).toHex(), "0da5ab00");
    EXPECT_EQ(openLedReport(2, true, 4).toHex(), "0da5ac00");
    EXPECT_EQ(openLedReport(2, false, 4).toHex(), "0da5ad00");
    EXPECT_EQ(dpiReport(2, 3, 4).toHex(), "0da5a403");
    EXPECT_EQ(dpiReport(6, 3, 4).toHex(), "0d051203");
    EXPECT_EQ(motorReport(7, 0).toHex(), "0da514320007");
    EXPECT_EQ(resetKeyStatusReport(6).toHex(), "0da5a1000000");
    EXPECT_EQ(motorShakeDurationReport(1.5, 6).toHex(), "0da5a10f0000");
    EXPECT_EQ(motorShakeDurationReport(30.0, 5).toHex(), "0da5a12c01");
    EXPECT_EQ(motorShakeDurationReport(-1, 5).toHex(), "0da5a10000");
    EXPECT_EQ(motorShakeDurationReport(1e9, 5).toHex(), "0da5a1ffff");
    EXPECT_EQ(sendKeyCommandReport(0x21, 4).toHex(), "0da50a21");
}
