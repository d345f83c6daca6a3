#include "BleNotificationClassifier.h"

#include <gtest/gtest.h>

using namespace proto;

namespace {

QByteArray hex(const char *h)
{
    return QByteArray::fromHex(h);
}

TEST(BleClassifier, FramesVoiceAndShortValues)
{
    const struct {
        const char *what;
        const char *value;
        bool pointer;
        BleValueKind kind;
        int event, status;
        const char *payload;
        int value3; // -1: none
    } rows[] = {
        {"empty value", "", false, BleValueKind::Voice, 0, 0, "", -1},
        {"one byte 4d", "4d", false, BleValueKind::Voice, 0, 0, "", -1},
        {"two bytes 4d 4c", "4d4c", false, BleValueKind::ShortFrame, 0, 0, "", -1},
        {"three bytes", "4d104c", false, BleValueKind::ShortFrame, 0, 0, "", -1},
        {"mouse ack", "4d10004c", false, BleValueKind::Frame, 0x10, 0, "", -1},
        {"no closer", "4d5a0000", false, BleValueKind::Voice, 0, 0, "", -1},
        {"no opener", "005a004c", false, BleValueKind::Voice, 0, 0, "", -1},
        {"lighting value", "4d8300074c", false, BleValueKind::Frame, 0x83, 0, "07", 7},
        {"firmware status", "4d71014c", false, BleValueKind::Frame, 0x71, 1, "", -1},
        {"pointer: event at 2", "4d0561074c", true, BleValueKind::Frame, 0x61, 0x61, "07", 7},
        {"pointer short", "4d05614c", true, BleValueKind::Frame, 0x61, 0x61, "", -1},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.what);
        const QByteArray v = hex(r.value);
        const BleNotification n = classifyBleNotification(v, r.pointer);
        EXPECT_EQ(n.kind, r.kind);
        if (n.kind != BleValueKind::Frame)
            continue;
        EXPECT_EQ(n.event, r.event);
        EXPECT_EQ(n.status, r.status);
        EXPECT_EQ(n.payload.toByteArray(), hex(r.payload));
        EXPECT_EQ(n.value.has_value(), r.value3 >= 0);
        if (n.value) {
            EXPECT_EQ(*n.value, r.value3);
        }
    }
}

QByteArray standardInfo(const QByteArray &sn30, const char *rest = "ab22513101010203485a56322e302e31")
{
    return sn30 + hex(rest);
}

TEST(BleClassifier, StandardDeviceInformation)
{
    const QByteArray sn = hex("515831323334") + QByteArray(24, '\0');
    auto info = readBleDeviceInfo(standardInfo(sn), false);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->sn, "QX1234");
    EXPECT_EQ(info->pid, 0x22AB);
    EXPECT_EQ(info->vid, 0x3151);
    EXPECT_EQ(info->led, 1);
    EXPECT_EQ(info->mic, 1);
    EXPECT_EQ(info->icType, 2);
    EXPECT_EQ(info->dpi, 3);
    EXPECT_EQ(info->mouseType, 72);
    EXPECT_EQ(info->powerPercent, 90);
    EXPECT_EQ(info->firmwareVersion, QStringLiteral("V2.0.1"));

    // NULs anywhere drop out; a serial of zeros, as text or as bytes, is no serial.
    EXPECT_EQ(readBleDeviceInfo(standardInfo(QByteArray("QX\0"
                                                        "12",
                                                        5)
                                             + QByteArray(25, '\0')),
                                false)
                  ->sn,
              "QX12");
    EXPECT_EQ(readBleDeviceInfo(standardInfo(QByteArray(30, '0')), false)->sn, "");
    EXPECT_EQ(readBleDeviceInfo(standardInfo(QByteArray(30, '\0')), false)->sn, "");
    EXPECT_EQ(readBleDeviceInfo(standardInfo(QByteArray(29, '\0') + "0"), false)->sn, "");
    // High bytes are kept as characters, not dropped or mangled.
    EXPECT_EQ(readBleDeviceInfo(standardInfo(hex("e9") + QByteArray(29, '\0')), false)->sn, QString(QChar(0xe9)));

    // 40 to 45 bytes: no version (left as stored); fewer than 40: unreadable.
    const QByteArray full = standardInfo(sn);
    EXPECT_FALSE(readBleDeviceInfo(full.left(45), false)->firmwareVersion);
    EXPECT_TRUE(readBleDeviceInfo(full.left(40), false));
    EXPECT_FALSE(readBleDeviceInfo(full.left(39), false));
}

TEST(BleClassifier, PointerDeviceInformation)
{
    const QByteArray p = hex("a1b2c3d4e5f6ab225131030204ca501b");
    auto info = readBleDeviceInfo(p, true);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->sn, "a1b2c3d4e5f6");
    EXPECT_EQ(info->pid, 0x22AB);
    EXPECT_EQ(info->vid, 0x3151);
    EXPECT_EQ(info->led, 1);
    EXPECT_EQ(info->mic, 1);
    EXPECT_EQ(info->icType, 2);
    EXPECT_EQ(info->dpi, 4);
    EXPECT_EQ(info->mouseType, 202);
    EXPECT_EQ(info->powerPercent, 80);
    EXPECT_EQ(info->firmwareVersion, QStringLiteral("1b"));

    // The flags byte: bit 1 the LED, bit 0 the microphone; above 3 it says nothing.
    QByteArray flags = p;
    flags[10] = 2;
    EXPECT_EQ(readBleDeviceInfo(flags, true)->led, 1);
    EXPECT_EQ(readBleDeviceInfo(flags, true)->mic, 0);
    flags[10] = 4;
    EXPECT_FALSE(readBleDeviceInfo(flags, true)->led);
    EXPECT_FALSE(readBleDeviceInfo(flags, true)->mic);

    QByteArray zeros = p;
    zeros.replace(0, 6, QByteArray(6, '\0'));
    EXPECT_EQ(readBleDeviceInfo(zeros, true)->sn, "");
    EXPECT_FALSE(readBleDeviceInfo(p.left(15), true));
}

TEST(BleClassifier, ReceiverSourceByProduct)
{
    const struct {
        uint16_t vid, pid;
        int source; // -1: unchanged
    } rows[] = {
        {0x3151, 0x31AB, 0}, {0x3151, 0x39AB, 0}, {0x3151, 0x32AB, 1},  {0x3151, 0x38AB, 1},
        {0x3151, 0x3AAB, 2}, {0x3151, 0x3CAB, 2}, {0x3151, 0x22AB, -1}, {0x1234, 0x32AB, -1},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(QString::number(r.pid, 16).toStdString());
        const auto s = bleMouseSource(r.vid, r.pid);
        EXPECT_EQ(s.value_or(-1), r.source);
    }
}

TEST(BleClassifier, KeyMapMatchesTheHidCodes)
{
    // event, code with key setting, action without
    const struct {
        uint8_t event;
        int code;
        BleKeyAction action;
    } rows[] = {
        {0x31, 57, BleKeyAction::OpenMicSearch}, {0x32, 58, BleKeyAction::CloseMicSearch},
        {0x33, 51, BleKeyAction::Toggle},        {0x35, 55, BleKeyAction::None},
        {0x37, 53, BleKeyAction::VoiceDown},     {0x38, 54, BleKeyAction::VoiceUp},
        {0x40, 52, BleKeyAction::ModeSwitch},    {0x41, 56, BleKeyAction::None},
        {0x42, 59, BleKeyAction::Toggle},        {0x43, 60, BleKeyAction::ModeSwitch},
        {0x44, 61, BleKeyAction::VoiceDown},     {0x45, 62, BleKeyAction::VoiceUp},
        {0x46, 63, BleKeyAction::None},          {0x49, 66, BleKeyAction::None},
    };
    for (const auto &r : rows) {
        const BleKeyRow *row = bleKeyRow(r.event);
        ASSERT_NE(row, nullptr) << int(r.event);
        EXPECT_EQ(row->keySettingCode, r.code) << int(r.event);
        EXPECT_EQ(row->action, r.action) << int(r.event);
    }
    for (uint8_t notKey : {0x00, 0x30, 0x34, 0x36, 0x39, 0x3f, 0x4a, 0x5a, 0x61})
        EXPECT_EQ(bleKeyRow(notKey), nullptr) << int(notKey);
}

} // namespace
