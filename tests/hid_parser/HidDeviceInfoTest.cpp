// The report bytes stay grouped by field as written (clang-format would split them).
// clang-format off
// Device information, connection status and status records of every family.
#include "HidParserFixture.h"

#include "NotificationNames.h"
#include "PZLog.h"

namespace {

QString n(const char *name)
{
    return QString::fromLatin1(name);
}

// The framed information of a plan-2 mouse, 64 bytes.
QByteArray framedInfo(const char *pidHex = "ab22", const char *model = "38", const char *micByte = "00")
{
    QByteArray b = QByteArray::fromHex("0d5a4d6100" "515831323334") + QByteArray(24, '\0');
    b += QByteArray::fromHex(pidHex) + QByteArray::fromHex("5131" "01") + QByteArray::fromHex(micByte) +
         QByteArray::fromHex("0203") + QByteArray::fromHex(model) + QByteArray::fromHex("64" "56312e322e33");
    b += QByteArray(12, '\0') + QByteArray::fromHex("4c");
    return b;
}

TEST_F(HidParserTest, FramedInformationFillsTheDeviceAndReadsLighting)
{
    feed(framedInfo());
    EXPECT_EQ(item().sn(), "QX1234");
    EXPECT_EQ(item().pid(), 0x22AB);
    EXPECT_EQ(item().vid(), 0x3151);
    EXPECT_EQ(item().led(), 1);
    EXPECT_EQ(item().mic(), 0);
    EXPECT_EQ(item().icType(), 2u);
    EXPECT_EQ(item().dpi(), 3);
    EXPECT_EQ(item().mouseType(), 56u);
    EXPECT_EQ(state->productCode(), "56");
    EXPECT_EQ(item().powerPercent(), 100.0);
    EXPECT_EQ(item().firmwareVersion(), "V1.2.3");
    EXPECT_EQ(item().mouseSource(), 0u);
    EXPECT_EQ(sent(), QList<QByteArray>({R(64, "0da54d04104c"), R(64, "0da54d04834c"), R(64, "0da54d04854c"),
                                         R(64, "0da54d04874c"), R(64, "0da54d04894c"), R(64, "0da54d048b4c"),
                                         R(64, "0da54d04234c"), R(64, "0da54d04674c")}));
    EXPECT_EQ(notes.names(), QStringList({n(qx::notify::HadUSBInfoNotification),
                                          n(qx::notify::HadElectricInfoNotification)}));
    EXPECT_EQ(completions, (std::vector<std::pair<int, int>>{{0x61, 0}}));
}

TEST_F(HidParserTest, FramedInformationVariants)
{
    // The product id gives the receiver's origin; a pointer model turns the device type.
    feed(framedInfo("ab35", "ca"));
    EXPECT_EQ(item().mouseSource(), 1u);
    EXPECT_EQ(item().deviceType(), 2u);
    sent();

    // An open microphone outside a session is closed before the notifications.
    item().setDeviceType(1);
    feed(framedInfo("ab22", "10", "01"));
    EXPECT_EQ(sent(), QList<QByteArray>({R(64, "0da54d04104c"), R(64, "0da54d04234c"), R(64, "0da54d04634c"),
                                         R(64, "0da54d04674c")}));
    fakes.keys.setHadStart(true);
    feed(framedInfo("ab22", "10", "01"));
    EXPECT_EQ(sent().size(), 3);

    // Payload of 45 bytes: the firmware is left; a serial of "0000" and NULs is "".
    item().setFirmwareVersion(QStringLiteral("old"));
    QByteArray cut = framedInfo().left(50) + QByteArray::fromHex("4c");
    cut.replace(5, 6, QByteArray::fromHex("303030300000"));
    feed(cut);
    EXPECT_EQ(item().firmwareVersion(), "old");
    EXPECT_EQ(item().sn(), "");

    // Serial and firmware bytes above 0x7f are kept as Latin-1, never dropped or failed.
    QByteArray high = framedInfo();
    high[5] = char(0xe9);
    high[45] = char(0xff);
    feed(high);
    EXPECT_EQ(item().sn(), QString::fromUtf8("\u00e9X1234"));
    EXPECT_EQ(item().firmwareVersion(), QString::fromUtf8("\u00ff1.2.3"));
}

TEST_F(HidParserTest, HotKeyAndType5Information)
{
    item().setDeviceType(3);
    feed(R(64, "0d5a4d6100" "515800000000000000000000000000000000000000000000000000000000" "37" "3132330000"));
    EXPECT_EQ(item().sn(), "QX");
    EXPECT_EQ(item().mouseType(), 0x37u);
    EXPECT_EQ(item().firmwareVersion(), "123");
    sent();

    plan(6, 5);
    feed(R(24, "4d1361" "000000000000" "ab22" "5131" "02" "04" "01" "ca" "50" "1b"));
    EXPECT_EQ(item().sn(), "");
    EXPECT_EQ(item().pid(), 0x22AB);
    EXPECT_EQ(item().led(), 1);
    EXPECT_EQ(item().mic(), 0);
    EXPECT_EQ(item().icType(), 4u);
    EXPECT_EQ(item().mouseType(), 0xcau);
    EXPECT_EQ(item().powerPercent(), 80.0);
    EXPECT_EQ(item().firmwareVersion(), "1b");
    feed(R(24, "4d1361" "a1b2c3000000" "ab22" "5131" "07"));
    EXPECT_EQ(item().sn(), "a1b2c3000000");
    EXPECT_EQ(item().led(), 1); // 7 is no LED/microphone value
}

TEST_F(HidParserTest, Plan7InformationStoresANewDeviceAndClearsItsToken)
{
    plan(7);
    ids.first = 0x248A;
    ids.second = 0x67AC;
    state->setIFlytekChip_tokenExpireAt(QStringLiteral("1999999999"));
    QStringList logs;
    setWriteLogHandler([&logs](const QString &l) { logs << l; });
    fakes.log.clear();
    feed(R(21, "a6134d6151582023120600000001070204125" "01b01"));
    setWriteLogHandler(nullptr);
    EXPECT_EQ(item().sn(), "QX2023120600000001");
    EXPECT_EQ(item().mic(), 1);
    EXPECT_EQ(item().led(), 1);
    EXPECT_EQ(state->samplingRate(), 1);
    EXPECT_EQ(item().icType(), 2u);
    EXPECT_EQ(item().dpi(), 3);
    EXPECT_EQ(state->productType(), 0);
    EXPECT_EQ(item().mouseType(), 274u);
    EXPECT_EQ(state->productCode(), "274");
    EXPECT_EQ(item().powerPercent(), 80.0);
    EXPECT_EQ(item().firmwareVersion(), "1b");
    EXPECT_EQ(state->IFlytekChip_tokenExpireAt().value_or("unset"), "");
    EXPECT_EQ(sent(), QList<QByteArray>({R(21, "a6034d104c"), R(21, "a6034d634c")}));
    EXPECT_EQ(notes.names(), QStringList({n(qx::notify::HadUSBInfoNotification),
                                          n(qx::notify::kUpdateDPIItemNotification),
                                          n(qx::notify::kUpdateFirmwareVersionNotification)}));
    ASSERT_EQ(logs.size(), 1);
    EXPECT_EQ(logs[0], QString::fromUtf8("鼠标信息：sn=QX2023120600000001，光电类型=2，mouseType=274，"
                                         "firmwareVersion=1b，productCode=274"));

    // The same device again: no new-device notification, the token is left alone.
    state->setIFlytekChip_tokenExpireAt(QStringLiteral("2000000000"));
    notes.clear();
    feed(R(21, "a6134d6151582023120600000001070204125" "01b01"));
    EXPECT_EQ(notes.count(n(qx::notify::HadUSBInfoNotification)), 0);
    EXPECT_EQ(state->IFlytekChip_tokenExpireAt().value_or(""), "2000000000");

    // The 0x248A/0x70AC receiver writes its firmware in decimal; information marks the mouse present.
    ids.second = 0x70AC;
    state->setMouseIsConnect(false);
    feed(R(21, "a6134d6151582023120600000001070204125" "01b01"));
    EXPECT_EQ(item().firmwareVersion(), "27");
    EXPECT_TRUE(state->mouseIsConnect());
}

TEST_F(HidParserTest, Plan6InformationLayouts)
{
    plan(6);
    ids.first = 0x248A;
    ids.second = 0x61AB;
    // 22 bytes, byte 21 not 0x4c; model 193 on a "QX20231206" serial is model 14.
    feedHex("0c4d1361515820231206000000070302" "04c15a120000");
    EXPECT_EQ(item().sn(), "QX2023120600000007");
    EXPECT_EQ(item().mouseType(), 14u);
    EXPECT_EQ(state->productCode(), "14");
    EXPECT_EQ(item().powerPercent(), 90.0);
    EXPECT_EQ(item().firmwareVersion(), "12");
    // firmware 12, sampling flag 0, no session: audio rate 1; the microphone closed through the facade
    EXPECT_EQ(sent(), QList<QByteArray>({R(21, "0c4d126d014c"), R(21, "0c4d04634c")}));

    // Byte 21 = 0x4c: the newer layout.
    feedHex("0c4d136151582023120600000007" "08" "0204" "0102" "5a" "27" "4c");
    EXPECT_EQ(state->productType(), 1);
    EXPECT_EQ(item().mouseType(), 258u);
    EXPECT_EQ(item().powerPercent(), 90.0);
    EXPECT_EQ(item().firmwareVersion(), "27");

    // A 21-byte report has no byte 21: the older layout, and firmware 27 takes byte 20 as the high byte.
    sent();
    feedHex("0c4d136151582023120600000007" "00" "0204" "05" "5a" "27" "01");
    EXPECT_EQ(state->productType(), 0);
    EXPECT_EQ(item().mouseType(), 261u);
    EXPECT_TRUE(sent().isEmpty()); // firmware 27: no audio-rate fix-up, microphone off

    // The same 21 bytes where the memory after them holds the newer layout's marker: a
    // read past the report would take it for byte 21.
    const QByteArray marked = QByteArray::fromHex("0c4d136151582023120600000007"
                                                  "00"
                                                  "0204"
                                                  "05"
                                                  "5a"
                                                  "27"
                                                  "01"
                                                  "4c");
    proto::HidReport r = proto::classifyHidReport(marked.first(21), parser.context());
    r.bytes = QByteArray::fromRawData(marked.constData(), 21);
    state->setProductType(1);
    HidDeviceInfoHandler(parser).deviceInfo(r);
    EXPECT_EQ(state->productType(), 0);
    EXPECT_EQ(item().mouseType(), 261u);

    // A model-18 pointer gets the time; so does every "1c4d" reply.
    feedHex("1c4d136151582023120600000007" "00" "0204" "12" "5a" "15" "00");
    EXPECT_EQ(item().mouseType(), 18u);
    const QList<QByteArray> out = sent();
    ASSERT_EQ(out.size(), 3);
    EXPECT_EQ(out[0], R(21, "0c4d126d014c"));
    EXPECT_TRUE(out[1].startsWith(QByteArray::fromHex("0c4f")));
    EXPECT_TRUE(out[2].startsWith(QByteArray::fromHex("1c4d0c8001")));
}

TEST_F(HidParserTest, Plan6And7ConnectionStatus)
{
    plan(6);
    state->setMouseIsConnect(false);
    state->setReportRate(1000);
    feed(R(21, "0c4d0869005a080100"));
    EXPECT_TRUE(state->mouseIsConnect());
    EXPECT_EQ(item().powerPercent(), 90.0);
    EXPECT_EQ(state->reportRate(), 125);
    EXPECT_TRUE(state->rgbSwitch());
    EXPECT_TRUE(state->funcSwitch());
    EXPECT_EQ(notes.names(), QStringList({n(qx::notify::kUSBInsertNotification),
                                          n(qx::notify::HadElectricInfoNotification),
                                          n(qx::notify::kUpdateReportRateItemNotification),
                                          n(qx::notify::kUpdateLightingEffectsNotification)}));
    // Divisor 0 leaves the rate; the function switch reports its change; status 1 is gone.
    notes.clear();
    feed(R(21, "0c4d08690132000001"));
    EXPECT_FALSE(state->mouseIsConnect());
    EXPECT_EQ(state->reportRate(), 125);
    EXPECT_FALSE(state->rgbSwitch());
    EXPECT_FALSE(state->funcSwitch());
    EXPECT_EQ(notes.names(), QStringList({n(qx::notify::kUSBRemoveNotification),
                                          n(qx::notify::HadElectricInfoNotification),
                                          n(qx::notify::kUpdateLightingEffectsNotification),
                                          n(qx::notify::kUpdateFunctionNotification)}));

    // Plan 7 reads no function switch and needs no byte 8.
    plan(7);
    notes.clear();
    feedHex("a6074d6900500401");
    EXPECT_EQ(state->reportRate(), 250);
    EXPECT_EQ(notes.count(n(qx::notify::kUpdateFunctionNotification)), 0);
    EXPECT_TRUE(state->mouseIsConnect());
}

TEST_F(HidParserTest, Plan4Replies)
{
    plan(4);
    ids.second = 0x10AB;
    state->setMouseIsConnect(false);
    feed(R(21, "0c102f550d000203"));
    EXPECT_EQ(item().powerPercent(), 85.0);
    EXPECT_EQ(item().mouseType(), 13u);
    EXPECT_EQ(state->productCode(), "13");
    EXPECT_EQ(item().icType(), 2u);
    EXPECT_EQ(item().dpi(), 3);
    EXPECT_EQ(sent(), QList<QByteArray>({R(21, "0c0538")}));
    sched.advance(200);
    EXPECT_EQ(sent(), QList<QByteArray>({R(21, "0c052e")}));
    EXPECT_EQ(notes.names(), QStringList({n(qx::notify::HadUSBInfoNotification),
                                          n(qx::notify::HadElectricInfoNotification),
                                          n(qx::notify::kUSBInsertNotification)}));
    feed(R(21, "0c1038123456789abc"));
    EXPECT_EQ(item().sn(), "123456789ABC");
    // Firmware text: NUL padding dropped.
    feed(R(21, "0c102e5631"));
    EXPECT_EQ(item().firmwareVersion(), "V1");
    // The re-framed receiver's reports are one byte shorter; the firmware still reads.
    ids.second = 0x12AB;
    feedHex("0c00102e563200000000000000000000000000000000");
    EXPECT_EQ(item().firmwareVersion(), "V2");
}

TEST_F(HidParserTest, Plan3StatusRecord)
{
    plan(3);
    state->setMouseIsConnect(false);
    item().setIcType(1);
    feed(R(24, "0d0150002a01000c00000102030405060000" "51ab37"));
    EXPECT_TRUE(state->mouseIsConnect());
    EXPECT_EQ(item().powerPercent(), 80.0);
    EXPECT_EQ(item().icType(), 1u);
    EXPECT_EQ(item().dpi(), 1);
    EXPECT_EQ(item().firmwareVersion(), "12");
    EXPECT_EQ(item().mic(), 0);
    EXPECT_EQ(item().sn(), "060504030201");
    EXPECT_EQ(item().vid(), 0x51);
    EXPECT_EQ(item().pid(), 0xab);
    EXPECT_EQ(item().mouseType(), 55u);
    EXPECT_EQ(state->productCode(), "55");
    EXPECT_EQ(notes.names(), QStringList({n(qx::notify::kUSBInsertNotification),
                                          n(qx::notify::HadUSBInfoNotification),
                                          n(qx::notify::HadUSBInfoNotification)}));
    EXPECT_EQ(handled, QStringList({"plan3Key:-1 after 0 sent"}));
    EXPECT_TRUE(sent().isEmpty());

    // While voice streams, identity bytes are not read.
    hid.setIsStartVoice(true);
    feed(R(24, "0d0150003f01000c000000000000000000000000ee"));
    EXPECT_EQ(item().dpi(), 4);
    EXPECT_EQ(item().mouseType(), 55u);
    EXPECT_EQ(item().sn(), "060504030201");

    const struct {
        quint64 icType;
        int raw;
        qint64 index;
    } dpis[] = {{1, 63, 4}, {1, 32, 0}, {1, 48, 2}, {4, 5, 4}, {4, 0, 0}, {2, 7, 7}};
    for (const auto &d : dpis)
        EXPECT_EQ(HidDeviceInfoHandler::plan3DpiIndex(d.icType, d.raw), d.index) << d.icType << " " << d.raw;
}

TEST_F(HidParserTest, ReceiverConnectionReport)
{
    state->setMouseIsConnect(false);
    hid.startTimer();
    feed(R(64, "0d524301a1b2c3d4e5f6"));
    EXPECT_TRUE(state->mouseIsConnect());
    EXPECT_EQ(item().macAddress(), "0xa1b2c3d4e5f6");
    EXPECT_TRUE(state->isSupportKeySetting());
    EXPECT_EQ(bleCalls, QStringList({"cancelPeripheralConnection"}));
    EXPECT_FALSE(hid.isTimerRunning());
    EXPECT_EQ(notes.names(), QStringList({n(qx::notify::kUSBInsertNotification)}));
    EXPECT_TRUE(completions.empty());
    EXPECT_TRUE(sent().isEmpty());

    feed(R(64, "0d524300"));
    EXPECT_FALSE(state->mouseIsConnect());
    EXPECT_EQ(bleCalls.last(), "startScan");
    EXPECT_TRUE(hid.isTimerRunning());
    EXPECT_EQ(notes.names().last(), n(qx::notify::kUSBRemoveNotification));
}

} // namespace
