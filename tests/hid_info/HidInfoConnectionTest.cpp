// The reader behind the HID transport: simulated receivers plugged into the bus,
// their reports and hot keys reaching the dispatcher, unplugging breaking the keys.
#include "HidInfoConnection.h"
#include "FakeGlobalShortcuts.h"
#include "FakeNeighbours.h"
#include "HIDDevice.h"
#include "KeyValueStore.h"
#include "ManualScheduler.h"
#include "ReceiverTable.h"
#include "ScopedUserInfoData.h"
#include "SimulatedHidBus.h"
#include "SimulatedReceiver.h"
#include "platform/ShortcutBinder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Role = SimulatedReceiver::Role;

class HidInfoConnectionTest : public ::testing::Test {
protected:
    HidInfoConnectionTest() { connection.addSinks(hid.sinks()); }
    std::unique_ptr<SimulatedReceiver> plug(quint16 vid, quint16 pid)
    {
        auto r = std::make_unique<SimulatedReceiver>(bus, *qx::receivers::findReceiver(vid, pid),
                                                     SimulatedReceiver::Options{});
        r->plugIn();
        scheduler.runDue();
        return r;
    }
    HidInfoReader::Deps deps()
    {
        HidInfoReader::Deps d;
        d.seams = nb.seams();
        d.binder = &binder;
        return d;
    }

    ManualScheduler scheduler;
    ScopedUserInfoData state;
    FakeNeighbours nb;
    SimulatedHidBus bus;
    FakeGlobalShortcuts shortcuts;
    MemoryKeyValueStore shortcutStore;
    platform::ShortcutBinder binder{shortcutStore, &shortcuts};
    HIDDevice hid{&bus, nb.seams()};
    HidInfoReader reader{deps()};
    HidInfoConnection connection{hid, reader, &binder};
};

TEST_F(HidInfoConnectionTest, PointerReceiverReportsReachTheDispatcher)
{
    hid.startMonitor();
    auto pen = plug(0x3151, 0x23ab);
    ASSERT_EQ(hid.currentPid(), 0x23ab);
    ASSERT_FALSE(state->isSupportKeySetting());
    nb.voice.pressTypes.clear(); // the open itself resets the dispatcher with 0

    nb.keys.setVioceMode(1);
    ASSERT_TRUE(pen->sendInput(Role::Command, QByteArray::fromHex("0d0047")));
    pen->sendInput(Role::Command, QByteArray::fromHex("0d0000"));
    EXPECT_EQ(nb.keys.vioceMode(), 2);
    pen->sendInput(Role::Command, QByteArray::fromHex("0d004a")); // translation mode now
    EXPECT_EQ(nb.voice.pressTypes, std::vector<int>{37});
    EXPECT_EQ(hid.pressType(), 37); // kept in the transport, which clears it after commands
    hid.setPressType(0);
    pen->sendInput(Role::Command, QByteArray::fromHex("0d0000"));
    pen->sendInput(Role::Command, QByteArray::fromHex("0d004a"));
    EXPECT_EQ(nb.voice.pressTypes, (std::vector<int>{37, 37}));
    EXPECT_TRUE(shortcuts.grabs.empty()); // not a hot-key receiver
}

TEST_F(HidInfoConnectionTest, HotKeyReceiverBindsItsKeysUntilUnplugged)
{
    hid.startMonitor();
    auto receiver = plug(0x13ca, 0x12ac);
    ASSERT_EQ(hid.currentPid(), 0x12ac);
    EXPECT_EQ(shortcuts.grabs.size(), 3u);
    nb.voice.pressTypes.clear();
    ASSERT_TRUE(shortcuts.press(122));
    EXPECT_EQ(nb.voice.pressTypes, std::vector<int>{33});

    // Changing the wake-up setting registers the keys again, without duplicates.
    state->setVoiceWakeUpIndex(state->voiceWakeUpIndex() + 1);
    EXPECT_EQ(shortcuts.grabs.size(), 3u);

    receiver->unplug();
    scheduler.runDue();
    EXPECT_TRUE(shortcuts.grabs.empty());
    EXPECT_FALSE(shortcuts.press(122));
}

} // namespace
