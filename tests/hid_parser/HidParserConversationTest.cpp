// Whole conversations: the real HID transport over the simulated bus, the command
// manager and the report parser attached to it, and a simulated mouse that answers as
// its family does, on virtual time.
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXMouseCommandManager.h"
#include "SimHidDevice.h"
#include "hid_transport/HidTransportFixture.h"

namespace {

class HidParserConversation : public HidTransportTest {
protected:
    QXHidCommandManager mgr{fakes.seams()};
    QXBLEMouseCommandManager ble{nullptr, nullptr, fakes.seams()};
    QXMouseCommandManager facade{mgr, ble};
    QXHidReportParser parser{mgr, &facade};
    QStringList bleCalls;

    HidParserConversation()
    {
        HidDeviceSinks &s = hid->sinks();
        s.startTimer = [this] { mgr.startTimer(); };
        s.invalidateTimer = [this] { mgr.invalidateTimer(); };
        s.sendGetMouseInfoData = [this] { facade.sendGetMouseInfoData(); };
        s.sendClosePopUpWebSiteData = [this] { facade.sendClosePopUpWebSiteData(); };
        QXHidReportParser::Deps deps;
        deps.cancelPeripheralConnection = [this] { bleCalls << "cancelPeripheralConnection"; };
        deps.startScan = [this] { bleCalls << "startScan"; };
        parser.setDeps(deps);
        parser.attachTo(*hid);
        mgr.setHidSink(hid.get());
    }
    ~HidParserConversation() override
    {
        mgr.invalidateTimer();
        hid->setSinks({});
    }

    std::unique_ptr<SimulatedReceiver> open(int row)
    {
        watch();
        return plugRow(row);
    }
};

TEST_F(HidParserConversation, Plan2MouseFoundReadAndLost)
{
    auto rx = open(9); // 0x3151/0x22AB, plan 2
    SimHidDevice mouse(*rx, 2);
    ASSERT_EQ(st().chipPlan(), 2);
    ASSERT_FALSE(st().mouseIsConnect());

    // A second after the open the transport asks; without a mouse known that is the
    // connection query, answered present; half a second later the information.
    sched.advance(1000 + 2 * HIDDevice::kPacingMs);
    EXPECT_EQ(mouse.heard().mid(0, 2), QStringList({"sendSearchMouseConnectStatusData", "sendClosePopUpWebSiteData"}));
    EXPECT_TRUE(st().mouseIsConnect());
    EXPECT_EQ(bleCalls, QStringList({"cancelPeripheralConnection"}));
    mouse.clearHeard();
    sched.advance(500 + 20 * HIDDevice::kPacingMs);
    EXPECT_EQ(mouse.heard(),
              QStringList({"sendGetMouseInfoData", "sendGetReceiveData", "sendGetLightingEffectsModeData",
                           "sendGetLightingEffectsBrightnessData", "sendGetLightingEffectsSpeedData",
                           "sendGetLightingEffectsColorData", "sendGetMouseLeftOrRightHandBehavior",
                           "sendGetDongleInfo", "sendClosePopUpWebSiteData", "sendGetReceiveData"}));
    // (the five lighting replies are acknowledged too; identical acknowledgements waiting
    // together in the pacing queue go out once)
    EXPECT_EQ(item().sn(), "QX1234");
    EXPECT_EQ(item().mouseType(), 56u);
    EXPECT_EQ(item().firmwareVersion(), "V1.2.3");
    EXPECT_EQ(item().powerPercent(), 90.0);
    EXPECT_EQ(fakes.log.count("post:HadUSBInfoNotification"), 1);

    // Voice start and end reach the transport through the completion.
    mouse.sendVoiceEvent(true);
    sched.runDue();
    EXPECT_TRUE(hid->isStartVoice());
    mouse.sendVoiceEvent(false);
    sched.runDue();
    EXPECT_FALSE(hid->isStartVoice());

    // The mouse goes out of range: the poll notices.
    mouse.mouse().present = false;
    mouse.clearHeard();
    fakes.log.clear();
    sched.advance(3000 + 2 * HIDDevice::kPacingMs);
    EXPECT_TRUE(mouse.heard().contains("sendSearchMouseConnectStatusData"));
    EXPECT_FALSE(st().mouseIsConnect());
    EXPECT_EQ(bleCalls.last(), "startScan");
    EXPECT_EQ(fakes.log.count("post:kUSBRemoveNotification"), 1);

    // Back in range: present again and read again.
    mouse.mouse().present = true;
    mouse.clearHeard();
    sched.advance(3000 + 600 + 20 * HIDDevice::kPacingMs);
    EXPECT_TRUE(st().mouseIsConnect());
    EXPECT_EQ(mouse.count("sendGetMouseInfoData"), 1);
}

TEST_F(HidParserConversation, Plan4PollFindsTheMouseAndReadsItsSerialAndFirmware)
{
    auto rx = open(17); // 0x3151/0x10AB, plan 4
    SimHidDevice::Mouse m;
    m.serialBytes = QByteArray::fromHex("a1b2c3d4e5f6");
    m.model = 13;
    m.firmware = "F2.0";
    SimHidDevice mouse(*rx, 4, m);
    ASSERT_EQ(st().chipPlan(), 4);
    ASSERT_FALSE(st().mouseIsConnect());

    // The poll asks for the serial every 5 s; its answer shows the mouse, whose
    // information is then read, and with it serial and firmware.
    sched.advance(5000 + 500 + 200 + 20 * HIDDevice::kPacingMs);
    EXPECT_TRUE(st().mouseIsConnect());
    EXPECT_EQ(item().sn(), "A1B2C3D4E5F6");
    EXPECT_EQ(item().mouseType(), 13u);
    EXPECT_EQ(st().productCode(), "13");
    EXPECT_EQ(item().powerPercent(), 90.0);
    EXPECT_EQ(item().firmwareVersion(), "F2.0");
    EXPECT_GE(mouse.count("sendGetDeviceFireware"), 1);

    // Gone: "0c00", no Bluetooth LE scan.
    mouse.mouse().present = false;
    sched.advance(5000 + 2 * HIDDevice::kPacingMs);
    EXPECT_FALSE(st().mouseIsConnect());
    EXPECT_FALSE(bleCalls.contains("startScan"));
}

TEST_F(HidParserConversation, Plan7ReceiverIsReadAtOpen)
{
    auto rx = open(28); // 0x248A/0x67AC, plan 7
    SimHidDevice::Mouse m;
    m.model = 0x112;
    m.firmwareByte = 0x1b;
    SimHidDevice mouse(*rx, 7, m);
    ASSERT_EQ(st().chipPlan(), 7);
    st().setMouseIsConnect(true);

    sched.advance(1000 + 10 * HIDDevice::kPacingMs);
    EXPECT_EQ(mouse.heard().first(), "sendGetMouseInfoData");
    EXPECT_TRUE(mouse.heard().contains("sendGetReceiveData"));
    EXPECT_EQ(item().sn(), "QX2023120600000001");
    EXPECT_EQ(item().mouseType(), 274u);
    EXPECT_EQ(st().productCode(), "274");
    EXPECT_EQ(item().firmwareVersion(), "1b");
    EXPECT_EQ(item().dpi(), 2);
}

} // namespace
