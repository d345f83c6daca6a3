#include "ConnectedBleMouse.h"
#include "DeviceWorld.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXMouseCommandManager.h"
#include "RecordingHidSink.h"

#include <gtest/gtest.h>

namespace {

QByteArray R(int n, const char *hex)
{
    return RecordingHidSink::R(n, hex);
}

// The facade over both real managers: a HID device that records its reports and a
// Bluetooth LE mouse connected over the fake adapter.
class CommandFacade : public ::testing::Test, protected DeviceWorld {
protected:
    ConnectedBleMouse ble;
    RecordingHidSink hid;
    QXHidCommandManager hidMgr{fakes.seams()};
    QXBLEMouseCommandManager bleMgr{ble.central.get(), &hid, fakes.seams()};
    QXMouseCommandManager facade{hidMgr, bleMgr};

    void SetUp() override
    {
        hidMgr.setHidSink(&hid);
        ble.connect(sched);
        state->setChipPlan(2);
        state->setMouseIsConnect(true);
        state->setIsSupportKeySetting(true);
    }
    QByteArrayList bleWrites() const
    {
        QByteArrayList out;
        for (const auto &w : ble.adapter.writes)
            out << w.data.toHex();
        return out;
    }
    void clear()
    {
        hid.reports.clear();
        ble.adapter.writes.clear();
    }
};

TEST_F(CommandFacade, EachCallTakesTheTransportOfTheMoment)
{
    state->setBleConnect(true);
    facade.sendSetDpiData(3);
    EXPECT_EQ(bleWrites(), QByteArrayList{"4d0568034c"});
    EXPECT_TRUE(hid.reports.isEmpty());

    clear();
    state->setBleConnect(false);
    facade.sendSetDpiData(3);
    EXPECT_EQ(hid.reports, QList<QByteArray>{R(64, "0da54d0568034c")});
    EXPECT_TRUE(bleWrites().isEmpty());

    // The press type and the stream flag have one holder (the shared key state): what
    // the facade or either manager writes, every one of them reads.
    state->setBleConnect(true);
    facade.setPressType(35);
    bleMgr.setIsStartVoice(true);
    EXPECT_EQ(hidMgr.pressType(), 35);
    EXPECT_EQ(fakes.keys.devicePressType(), 35);
    EXPECT_TRUE(facade.isStartVoice());
    state->setBleConnect(false);
    EXPECT_TRUE(facade.isStartVoice());
    hidMgr.setIsStartVoice(false);
    EXPECT_FALSE(bleMgr.isStartVoice());
}

TEST_F(CommandFacade, HidOnlyGuardedAndEmptyCommands)
{
    state->setBleConnect(true);
    facade.sendSearchMouseConnectStatusData();
    EXPECT_TRUE(hid.reports.isEmpty());
    EXPECT_TRUE(bleWrites().isEmpty());
    state->setBleConnect(false);
    facade.sendSearchMouseConnectStatusData();
    EXPECT_EQ(hid.reports, QList<QByteArray>{R(64, "0da54d04694c")});

    // The key reset and the copy-and-paste commands never reach a device.
    for (bool overBle : {false, true})
        for (int plan = 0; plan <= 7; ++plan) {
            clear();
            state->setBleConnect(overBle);
            state->setChipPlan(plan);
            facade.sendResetKeyStatusData();
            facade.sendCopyAndPasteData(9);
            facade.sendCopyAndPasteReleaseData();
            EXPECT_TRUE(hid.reports.isEmpty());
            EXPECT_TRUE(bleWrites().isEmpty());
        }

    // Leaving the pointer's mouse mode only on devices with key setting; then over HID
    // even while the mouse is on Bluetooth LE.
    clear();
    state->setIsSupportKeySetting(false);
    facade.sendLaserPenQuitMouseStatusData();
    EXPECT_TRUE(hid.reports.isEmpty());
    state->setIsSupportKeySetting(true);
    state->setBleConnect(true);
    state->setChipPlan(2);
    facade.sendLaserPenQuitMouseStatusData();
    EXPECT_EQ(hid.reports, QList<QByteArray>{R(64, "0da54d04ac4c")});
    EXPECT_TRUE(bleWrites().isEmpty());
}

TEST_F(CommandFacade, VoiceSourceAndVoiceBlock)
{
    state->setIsSupportKeySetting(false);
    facade.setIsFromMicData(false);
    EXPECT_TRUE(facade.isFromMicData()); // no key setting and not the voice interface
    state->setChipPlan(3);
    EXPECT_FALSE(facade.isFromMicData());
    facade.setIsFromMicData(true);
    EXPECT_TRUE(facade.isFromMicData());
    state->setIsSupportKeySetting(true);
    state->setChipPlan(2);
    facade.setIsFromMicData(false);
    EXPECT_FALSE(facade.isFromMicData());

    // The block reaches the HID manager's voice stream: the plan-4 close hands it the rest.
    int calls = 0;
    facade.setSendVoiceDataBlock([&](bool start, QByteArrayView) {
        EXPECT_FALSE(start);
        ++calls;
    });
    ASSERT_TRUE(bleMgr.voiceDataBlock());
    state->setChipPlan(4);
    facade.sendOpenMicData();
    facade.sendCloseMicData();
    EXPECT_EQ(calls, 1);

    // The facade's voice source reaches the HID manager: a computer-microphone session
    // on plan 2 does not leave the device flagged as streaming.
    state->setChipPlan(2);
    state->setIsSupportKeySetting(false);
    facade.sendOpenMicData();
    EXPECT_TRUE(hidMgr.isStartVoice());
    facade.sendCloseMicData();
    EXPECT_FALSE(hidMgr.isStartVoice());
}

TEST_F(CommandFacade, BatteryPollEveryFiveMinutesOnTheCurrentTransport)
{
    facade.startTimer();
    facade.startTimer();
    EXPECT_TRUE(facade.isTimerRunning());
    sched.advance(300 * 1000);
    EXPECT_EQ(hid.reports, QList<QByteArray>{R(64, "0da54d04614c")});
    state->setBleConnect(true);
    sched.advance(300 * 1000);
    EXPECT_EQ(hid.reports.size(), 1);
    EXPECT_TRUE(bleWrites().contains("4d04614c"));

    facade.invalidateTimer();
    EXPECT_FALSE(facade.isTimerRunning());
    clear();
    sched.advance(600 * 1000);
    EXPECT_TRUE(hid.reports.isEmpty());
    EXPECT_FALSE(bleWrites().contains("4d04614c"));
}

} // namespace
