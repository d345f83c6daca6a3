#include "GadgetFrames.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace g = proto::gadget;

namespace {

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

QString hex(const std::optional<QByteArray> &bytes)
{
    return bytes ? hex(*bytes) : QStringLiteral("refused");
}

} // namespace

// The gadget checks these bytes as they are; six check bytes of the 0x05 family are
// not sums and must not be "corrected".
TEST(GadgetFrames, FixedFramesAreByteExact)
{
    const struct {
        const char *name;
        QByteArray (*build)();
        const char *frame;
    } rows[] = {
        {"handshake", g::sendHandshakeProtocolData, "05 12 02 02 00 04 21"},
        {"get device info", g::sendGetDeviceInfoData, "05 12 03 02 00 05 21"},
        {"receive device info", g::sendReceiveDeviceInfoData, "05 12 04 02 00 06 21"},
        {"get MAC", g::sendGetMACAddressInfoData, "05 12 05 02 00 07 21"},
        {"get battery (check not a sum)", g::sendGetElectricInfoData, "05 12 09 02 00 0f 21"},
        {"get country (check not a sum)", g::sendGetCountryInfoData, "05 12 0d 02 00 14 21"},
        {"get channel (check not a sum)", g::sendGetChannelInfoData, "05 12 11 02 00 18 21"},
        {"left press reply", g::sendReplyTranslationLeftLongPressData, "05 12 14 02 00 16 21"},
        {"left release reply", g::sendReplyTranslationLeftLongReleaseData, "05 12 16 02 00 18 21"},
        {"right press reply", g::sendReplyTranslationRightLongPressData, "05 12 18 02 00 1a 21"},
        {"right release reply", g::sendReplyTranslationRightLongReleaseData, "05 12 1a 02 00 1c 21"},
        {"volume up reply", g::sendReplyVolumeIncreaseData, "05 12 1d 02 00 1f 21"},
        {"volume down reply", g::sendReplyVolumeReduceData, "05 12 1f 02 00 21 21"},
        {"start OTA", g::sendStartOTAUpdateData, "05 12 27 02 00 29 21"},
        {"start record (check not a sum)", g::sendStartRecordData, "05 12 2c 02 00 3e 21"},
        {"play mode", g::sendEnterPlayModeData, "05 12 31 02 00 33 21"},
        {"start record reply (check not a sum)", g::sendReplyStartRecordData, "05 12 34 02 00 23 21"},
        {"end record (check not a sum)", g::sendEndRecordData, "05 12 35 02 00 43 21"},
        {"enter card mode", g::sendEnterIntoTFCardModeData, "13 12 09 02 00 0b 28"},
        {"quit card mode", g::sendQuitTFCardModeData, "13 12 0b 02 00 0d 28"},
        {"get mode", g::sendGetCurrentModeInfoData, "13 12 18 02 00 1a 28"},
        {"get hidden record", g::sendGetHiddenRecordInfoData, "13 12 1e 02 00 20 28"},
        {"end send file reply", g::sendReplyEndSendFileData, "13 12 24 02 00 26 28"},
        {"OTA finished", g::sendTransferOTAFinishData, "13 12 2a 02 00 2c 28"},
        {"status", g::sendSearchCurrentStatusData, "13 12 2c 02 00 2e 28"},
        {"storage", g::sendSearchStorageInfoData, "13 12 2e 02 00 30 28"},
        {"get file", g::sendGetDeviceFileData, "13 12 31 02 00 33 28"},
        {"get file done", g::sendGetDeviceFileSuccessData, "13 12 33 02 00 35 28"},
        {"end send file", g::sendEndSendFileData, "13 12 35 02 00 37 28"},
        {"sync finished", g::sendSynchronousDeviceFileFinishData, "13 12 3b 02 00 3d 28"},
        {"cancel sync", g::sendCancelSynchronousDeviceFileData, "13 12 42 02 00 44 28"},
        {"authorisation", g::sendGetAuthData, "13 12 50 02 00 52 28"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(hex(r.build()), QLatin1String(r.frame)) << r.name;
}

TEST(GadgetFrames, FramesWithArguments)
{
    const struct {
        const char *name;
        std::optional<QByteArray> frame;
        const char *expected;
    } rows[] = {
        {"name AB", g::sendSetBluetoothNameData(QStringLiteral("AB")), "05 12 07 03 41 42 00 8d 21"},
        {"name: low byte of each UTF-16 unit", g::sendSetBluetoothNameData(QStringLiteral("中A")),
         "05 12 07 03 2d 41 00 78 21"},
        {"empty name", g::sendSetBluetoothNameData(QString()), "05 12 07 01 00 08 21"},
        {"country 3", g::sendSetCountryInfoData(3), "05 12 0b 02 03 14 21"},
        {"country: low byte, check wraps", g::sendSetCountryInfoData(0x1ff), "05 12 0b 02 ff 10 21"},
        {"channel 1", g::sendSetChannelInfoData(1), "05 12 0f 02 01 17 21"},
        {"channel: check wraps", g::sendSetChannelInfoData(0xf0), "05 12 0f 02 f0 06 21"},
        {"hidden", g::sendSetHiddenRecordData(true), "13 12 1c 02 00 1e 28"},
        {"visible", g::sendSetHiddenRecordData(false), "13 12 1c 02 01 1f 28"},
        {"mode 2", g::sendSetCurrentModeData(2), "13 12 1a 02 02 1e 28"},
        {"delete a.wav", g::sendDeleteDeviceFileData(QStringLiteral("a.wav")), "13 12 36 06 61 2e 77 61 76 00 19 28"},
        {"synchronise x", g::sendSynchronousDeviceFileData(QStringLiteral("x")), "13 12 38 02 78 00 b2 28"},
        {"synchronise: UTF-8 bytes", g::sendSynchronousDeviceFileData(QStringLiteral("é")),
         "13 12 38 03 c3 a9 00 a7 28"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(hex(r.frame), QLatin1String(r.expected)) << r.name;
}

TEST(GadgetFrames, TimeIsLocalTimeText)
{
    const QDateTime t(QDate(2026, 3, 15), QTime(14, 5, 9)); // local time
    const QByteArray frame = g::sendSetCurrentTimeData(t);
    EXPECT_EQ(hex(frame),
              QStringLiteral("13 12 25 14 ") + hex(QByteArray("2026-03-15-14-05-09")) + QStringLiteral(" 00 e0 28"));
    // The same instant given in UTC is still sent as local time.
    EXPECT_EQ(g::sendSetCurrentTimeData(t.toTimeZone(QTimeZone::utc())), frame);
}

// The length byte holds text + 1: a 255-byte text would wrap it to 0 and the gadget
// would read the rest of the frame as a new one.
TEST(GadgetFrames, TextsTooLongForTheLengthByteAreRefused)
{
    const auto name254 = g::sendSetBluetoothNameData(QString(254, QLatin1Char('n')));
    ASSERT_TRUE(name254);
    EXPECT_EQ(name254->size(), 254 + 7);
    EXPECT_EQ(uint8_t(name254->at(3)), 0xff);
    EXPECT_EQ(uint8_t(name254->back()), 0x21);

    EXPECT_FALSE(g::sendSetBluetoothNameData(QString(255, QLatin1Char('n'))));
    EXPECT_FALSE(g::sendDeleteDeviceFileData(QString(4096, QLatin1Char('f'))));
    // 85 CJK characters are 255 UTF-8 bytes, 84 are 252.
    EXPECT_FALSE(g::sendSynchronousDeviceFileData(QString(85, QChar(0x4e2d))));
    EXPECT_TRUE(g::sendSynchronousDeviceFileData(QString(84, QChar(0x4e2d))));
}
