// The per-byte reader of the device-information report and the key rule.
#include "HidInfoTestFixture.h"

using qx::notify::HadUSBInfoNotification;
using qx::notify::kUSBInsertNotification;

namespace {

class HidReader : public HidInfoTest {};

TEST_F(HidReader, FullReportOfAMouseReceiver)
{
    state->setChipPlan(1);
    feed("0d016401212a013302");

    EXPECT_TRUE(state->mouseIsConnect());
    EXPECT_DOUBLE_EQ(item().powerPercent(), 64.0);
    EXPECT_EQ(item().deviceType(), 1u);
    EXPECT_EQ(item().icType(), 2u);
    EXPECT_EQ(item().mouseType(), 1u);
    EXPECT_TRUE(state->dpiArray().has_value());
    EXPECT_EQ(item().dpi(), 42);
    EXPECT_EQ(item().led(), 1);
    EXPECT_EQ(reader.pressType(), 33);
    EXPECT_EQ(fakes.voice.pressTypes, std::vector<int>{33});
    EXPECT_TRUE(state->isNeedMouseInfo());
    EXPECT_EQ(notes.names(), (QStringList{kUSBInsertNotification, HadUSBInfoNotification}));
    EXPECT_EQ(fakes.log.calls, (QStringList{"hidCallbackType(33)", "clearDraw"})); // not a pointer: no dismissEffect

    // The same report again changes nothing that is announced.
    notes.clear();
    fakes.log.clear();
    feed("0d016401212a013302");
    EXPECT_TRUE(notes.names().isEmpty());
    EXPECT_EQ(fakes.log.calls, QStringList{"clearDraw"});
}

TEST_F(HidReader, DigitAndHexFieldsOfPlansOtherThanTwo)
{
    state->setChipPlan(0);
    // Connection 0x11 reads eleven: not connected. Battery 0x9a reads 9. Sensor 0x12:
    // chip type 1, so DPI 0x2a (42) is list position 1. LED 0xa0 reads 0.
    state->setMouseIsConnect(true);
    feed("0d119a0112"
         "2aa0");
    EXPECT_FALSE(state->mouseIsConnect());
    EXPECT_EQ(notes.count(kUSBInsertNotification), 1); // a change to "not connected" is announced too
    EXPECT_DOUBLE_EQ(item().powerPercent(), 9.0);
    EXPECT_EQ(item().icType(), 1u);
    EXPECT_EQ(item().mouseType(), 0u);
    EXPECT_EQ(item().dpi(), 1);
    EXPECT_EQ(item().led(), 0);

    feed("0d016401123f"); // 0x3f with chip type 1: position 4
    EXPECT_EQ(item().dpi(), 4);
    feed("0d016401212a");
    EXPECT_EQ(item().dpi(), 42);

    // A sensor byte without mouse-type nibble leaves the type unknown.
    feed("0d01640105");
    EXPECT_EQ(item().mouseType(), 0u);
    EXPECT_EQ(item().icType(), 5u);
    EXPECT_EQ(state->productCode(), "0");
}

TEST_F(HidReader, ShortReportsReadOnlyWhatTheyHold)
{
    state->setChipPlan(1);
    item().setPowerPercent(50);
    for (const char *hex : {"", "0d", "0d01"}) {
        feed(hex);
        EXPECT_DOUBLE_EQ(item().powerPercent(), 50.0) << hex;
    }
    EXPECT_TRUE(state->mouseIsConnect()); // "0d01" held the connection byte
    feed("0d0164012100");                 // up to the DPI byte, no key
    EXPECT_DOUBLE_EQ(item().powerPercent(), 64.0);
    EXPECT_TRUE(fakes.voice.pressTypes.empty());
    EXPECT_FALSE(state->isNeedMouseInfo());

    state->setChipPlan(2);
    feed("0d00", 0x3151, 0x23ab);
    feed("0d0031", 0x1234, 0x5678);
    feed("0d00310599", 0x1234, 0x5678);
    feed("0d003105993212", 0x1234, 0x5678); // sensor id complete, no mouse type
    EXPECT_EQ(item().icType(), 1u);
    EXPECT_FALSE(state->isNeedMouseInfo());
}

TEST_F(HidReader, SearchKeyWhileTypingIsHeldEndsTheReport)
{
    state->setChipPlan(1);
    reader.setPressType(37);
    feed("0d0164012132013102"); // key 49 -> 35
    EXPECT_TRUE(fakes.voice.pressTypes.empty());
    EXPECT_EQ(reader.pressType(), 37);
    EXPECT_FALSE(state->isNeedMouseInfo()); // byte 8 was not read
    EXPECT_EQ(fakes.log.count("clearDraw"), 0);

    // A key that repeats the held press type is not sent again, and reading goes on.
    reader.setPressType(33);
    feed("0d0164012132013302");
    EXPECT_TRUE(fakes.voice.pressTypes.empty());
    EXPECT_TRUE(state->isNeedMouseInfo());
}

TEST_F(HidReader, ModeByteAndFirstInformation)
{
    state->setChipPlan(1);
    // Mode 0: no drawing cleared, but the first report still announces the device.
    feed("0d0164022132010000");
    EXPECT_EQ(fakes.log.count("clearDraw"), 0);
    EXPECT_EQ(fakes.log.count("dismissEffect"), 1); // a pointer (device type 2)
    EXPECT_EQ(notes.count(HadUSBInfoNotification), 1);
    feed("0d0164022132010004");
    EXPECT_EQ(fakes.log.count("clearDraw"), 1);
    EXPECT_EQ(notes.count(HadUSBInfoNotification), 1);
}

TEST_F(HidReader, FixedSensorSerialGetsItsDpiCorrected)
{
    state->setChipPlan(1);
    item().setSn(QStringLiteral("X2020050100008Y"));
    feed("0d016401213f010002"); // DPI byte 0x3f with chip 2 stays 63, not 4
    EXPECT_EQ(fakes.log.count("sendSetDpiData"), 0);

    state->setIsNeedMouseInfo(false);
    notes.clear();
    feed("0d0164012104010002");
    EXPECT_EQ(item().icType(), 5u);
    EXPECT_EQ(fakes.log.count("sendSetDpiData(3)"), 1);
    EXPECT_EQ(notes.names(), (QStringList{HadUSBInfoNotification, HadUSBInfoNotification}));
}

TEST_F(HidReader, PlanTwoMouseReceiver)
{
    state->setChipPlan(2);
    feed("0d0031059a3212070000", 0x1234, 0x5678);
    EXPECT_EQ(fakes.voice.pressTypes, std::vector<int>{35});
    EXPECT_EQ(item().dpi(), 5);
    EXPECT_DOUBLE_EQ(item().powerPercent(), 9.0);
    EXPECT_EQ(item().icType(), 1u);
    EXPECT_EQ(item().mouseType(), 7u);
    EXPECT_TRUE(state->mouseIsConnect());
    EXPECT_TRUE(state->isNeedMouseInfo());
    EXPECT_EQ(notes.names(), (QStringList{kUSBInsertNotification, HadUSBInfoNotification}));

    // Unknown sensor ids read as chip type 2; the device is announced once.
    feed("0d0000059a0000070000", 0x1234, 0x5678);
    EXPECT_EQ(item().icType(), 2u);
    EXPECT_EQ(notes.names().size(), 2);
}

TEST_F(HidReader, PointerReceiverModeCycleAndKeys)
{
    state->setChipPlan(2);
    const auto pen = [&](const char *hex) { feed(hex, 0x3151, 0x23ab); };

    std::vector<int> modes;
    const auto cycle = [&] {
        pen("0d0047");
        modes.push_back(fakes.keys.vioceMode());
        pen("0d0000"); // key up between presses
    };
    cycle();
    EXPECT_EQ(item().deviceType(), 2u);
    cycle();
    cycle();
    EXPECT_EQ(modes, (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(fakes.log.calls, (QStringList{"cancelAsr", tipCall("切换到翻译模式", "laserPen_icon-7"), "cancelAsr",
                                            tipCall("切换到投屏模式", "laserPen_icon-2"), "cancelAsr",
                                            tipCall("切换到打字模式", "laserPen_icon-6")}));
    EXPECT_TRUE(fakes.voice.pressTypes.empty());

    // Plan 2 has no held-key gate: a key after another without a key-up still counts.
    pen("0d004a");
    pen("0d004b");
    EXPECT_EQ(fakes.voice.pressTypes, (std::vector<int>{33, 34}));

    fakes.log.clear();
    pen("0d004c");
    EXPECT_EQ(fakes.log.calls, (QStringList{"clearDraw", "showLaserPenEffect"}));
    pen("0d0046");
    pen("0d0042");
    EXPECT_EQ(fakes.log.calls.mid(2), (QStringList{"dismissEffect", "changeLaserPenStatus(0)"}));

    // Other bytes of the report are not read on this receiver.
    const double battery = item().powerPercent();
    pen("0d0000640521");
    EXPECT_DOUBLE_EQ(item().powerPercent(), battery);
}

TEST_F(HidReader, HeldPointerKeyRepeatedByTheDeviceIsOnePress)
{
    state->setChipPlan(2);
    fakes.keys.setVioceMode(1);
    feed("0d0047", 0x3151, 0x23ab);
    feed("0d0047", 0x3151, 0x23ab); // battery report while the mode key is held
    EXPECT_EQ(fakes.keys.vioceMode(), 2);
    EXPECT_EQ(fakes.log.count("cancelAsr"), 1);
}

TEST_F(HidReader, PointerKeysOutsidePlanTwoWaitForAKeyUp)
{
    state->setChipPlan(1);
    fakes.keys.setVioceMode(1);
    const auto key = [&](const char *keyHex) { feed(QByteArray("0d016402213201").append(keyHex).constData()); };
    key("25"); // 37 -> typing down
    key("28"); // 40 while 37 is held: remembered only
    EXPECT_EQ(fakes.voice.pressTypes, std::vector<int>{33});
    EXPECT_EQ(reader.tempNum(), 40);

    reader.setPressType(0);
    key("00");
    EXPECT_EQ(reader.tempNum(), 0);
    fakes.voice.pressTypes.clear();
    key("27"); // 39 -> search down
    key("28"); // no key-up between: nothing
    key("00");
    key("28"); // 40 -> search up
    EXPECT_EQ(fakes.voice.pressTypes, (std::vector<int>{35, 36}));

    // 37, key-up, 40: the search key-up is dropped while typing is held.
    reader.setPressType(0);
    fakes.voice.pressTypes.clear();
    key("00");
    key("25");
    key("00");
    key("28");
    EXPECT_EQ(fakes.voice.pressTypes, std::vector<int>{33});
}

TEST_F(HidReader, PointerKeysFollowTheVoiceMode)
{
    state->setChipPlan(2);
    struct Row {
        int mode;
        quint8 byte;
        int type;
    } rows[] = {{1, 0x4a, 33}, {1, 0x4b, 34}, {2, 0x4a, 37}, {3, 0x4b, 38}, {0, 0x4a, 0}, {4, 0x4b, 0}};
    for (const Row &r : rows) {
        fakes.keys.setVioceMode(r.mode);
        reader.setPressType(0);
        fakes.voice.pressTypes.clear();
        feed(QByteArray("0d00").append(QByteArray(1, char(r.byte)).toHex()).constData(), 0x3151, 0x23ab);
        feed("0d0000", 0x3151, 0x23ab);
        EXPECT_EQ(fakes.voice.pressTypes, r.type ? std::vector<int>{r.type} : std::vector<int>{})
            << "mode " << r.mode << " byte " << int(r.byte);
    }
}

TEST_F(HidReader, ModeKeyOfOtherDevices)
{
    state->setChipPlan(1);
    const auto key = [&](const char *keyHex) { feed(QByteArray("0d016401213201").append(keyHex).constData()); };

    reader.setPressType(33);
    key("40");
    EXPECT_FALSE(fakes.keys.isTranslate());
    EXPECT_TRUE(fakes.tips.tips.empty());

    reader.setPressType(0);
    key("40");
    EXPECT_TRUE(fakes.keys.isTranslate());
    key("40");
    EXPECT_FALSE(fakes.keys.isTranslate());
    ASSERT_EQ(fakes.tips.tips.size(), 2u);
    EXPECT_EQ(fakes.tips.tips[0], std::make_pair(tr("切换到翻译模式"), QString("laserPen_icon-7")));
    EXPECT_EQ(fakes.tips.tips[1], std::make_pair(tr("切换到打字模式"), QString("laserPen_icon-6")));

    fakes.keys.setIsTranslate(true);
    key("33");
    key("34");
    key("50"); // key command
    key("3f"); // no press type
    EXPECT_EQ(fakes.voice.pressTypes, (std::vector<int>{37, 38, 50}));
}

TEST_F(HidReader, PressTypeSharedWithTheHidDevice)
{
    // The HID device clears the press type in the shared key state at open and after
    // every successful command; the reader must see that, or a repeated key would be
    // swallowed.
    state->setChipPlan(1);
    reader.getDeivceInfoWithBuf(QByteArray::fromHex("0d0164012132013302"), kMouseVid, kMousePid);
    EXPECT_EQ(fakes.keys.readerPressType(), 33);
    reader.getDeivceInfoWithBuf(QByteArray::fromHex("0d0164012132013302"), kMouseVid, kMousePid);
    EXPECT_EQ(fakes.voice.pressTypes, std::vector<int>{33});
    fakes.keys.setReaderPressType(0); // a command went out
    reader.getDeivceInfoWithBuf(QByteArray::fromHex("0d0164012132013302"), kMouseVid, kMousePid);
    EXPECT_EQ(fakes.voice.pressTypes, (std::vector<int>{33, 33}));
}

} // namespace
