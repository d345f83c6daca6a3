#include "DeviceInfo.h"

#include <gtest/gtest.h>

using proto::HidReportFamily;

// The information replies of plans 6 and 7, decoded without a device state.
TEST(DeviceInfoDecode, EveryLayout)
{
    const struct {
        const char *what;
        const char *hex;
        HidReportFamily family;
        bool decimalFirmware;
        const char *sn;
        bool samplingRate;
        int productType, mouseType, powerPercent;
        const char *firmware;
    } rows[] = {
        {"plan 7", "a6134d615158202312060000000107020412501b01", HidReportFamily::Plan7, false, "QX2023120600000001",
         true, 0, 274, 80, "1b"},
        {"plan 7, decimal firmware byte", "a6134d615158202312060000000107020412501b01", HidReportFamily::Plan7, true,
         "QX2023120600000001", true, 0, 274, 80, "27"},
        {"plan 6, model 193 of the 2023-12-06 batch",
         "0c4d1361515820231206000000070302"
         "04c15a120000",
         HidReportFamily::Plan6, false, "QX2023120600000007", false, 0, 14, 90, "12"},
        {"plan 6, newer layout (byte 21 = 4c)",
         "0c4d136151582023120600000007080204"
         "01025a274c",
         HidReportFamily::Plan6, false, "QX2023120600000007", false, 1, 258, 90, "27"},
        {"plan 6, 21 bytes, firmware 27 widens the model",
         "0c4d136151582023120600000007000204"
         "055a2701",
         HidReportFamily::Plan6, false, "QX2023120600000007", false, 0, 5 + 256, 90, "27"},
    };
    for (const auto &row : rows) {
        const proto::DeviceInfo info =
            proto::decodeDeviceInfo(QByteArray::fromHex(row.hex), {row.family, row.decimalFirmware});
        EXPECT_EQ(info.sn, row.sn) << row.what;
        EXPECT_EQ(info.samplingRate, row.samplingRate) << row.what;
        EXPECT_EQ(info.productType, row.productType) << row.what;
        EXPECT_EQ(info.mouseType, row.mouseType) << row.what;
        EXPECT_EQ(info.powerPercent, row.powerPercent) << row.what;
        EXPECT_EQ(info.firmwareVersion, QString::fromLatin1(row.firmware)) << row.what;
        EXPECT_EQ(info.icType, 2) << row.what;
        EXPECT_EQ(info.dpi, 3) << row.what;
    }
    // Too short to be an information reply: nothing decoded, nothing read past the end.
    const proto::DeviceInfo none = proto::decodeDeviceInfo(QByteArray::fromHex("a6134d61"), {});
    EXPECT_FALSE(none.firmwareVersion);
    EXPECT_FALSE(none.mic);
}
