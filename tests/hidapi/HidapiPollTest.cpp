#include "HidapiFixture.h"

#include "NotificationNames.h"

#include <atomic>
#include <thread>

namespace {
// A poll report of a plan other than 2 with the key byte (offset 7) and mode byte (offset 8).
QByteArray keyReport(int key, int mode = 0)
{
    QByteArray r = featureReport("0d01640121", 64);
    r[7] = char(key);
    r[8] = char(mode);
    return r;
}
} // namespace

// One read every 10 ms, the next only after the previous answered; the key byte goes
// through the conversion and the press filter to the listener.
TEST_F(HidapiTest, PollIsPacedAndFiltersPresses)
{
    openPastFirstInfo();
    const int readsAtStart = lib.readCount();
    lib.setIdleReport(keyReport(0));
    sched.advance(9);
    EXPECT_EQ(lib.readCount(), readsAtStart);
    run(1);
    EXPECT_EQ(lib.readCount(), readsAtStart + 1);
    run(100);
    EXPECT_EQ(lib.readCount(), readsAtStart + 11);

    // Typing key held (51 -> 33): a search key (49 -> 35) under it is ignored, the
    // repeats of the held key too; the release (52 -> 34) is taken.
    for (int key : {51, 51, 49, 52, 53, 49, 54, 49, 50})
        lib.queueFeatureReport(keyReport(key));
    run(90);
    // Translation held (53 -> 37): search ignored, the translation release (54 -> 38)
    // must be taken or the voice input would never end.
    std::vector<std::pair<bool, int>> expected{{true, 33}, {true, 34}, {true, 37}, {true, 38}, {true, 35}, {true, 36}};
    EXPECT_EQ(heard, expected);

    // Mode byte 2 or 4 clears the pointer drawing.
    lib.queueFeatureReport(keyReport(0, 2));
    lib.queueFeatureReport(keyReport(0, 3));
    lib.queueFeatureReport(keyReport(0, 4));
    run(30);
    EXPECT_EQ(fakes.log.count("clearDraw"), 2);

    // Short and failed reads are skipped and the poll goes on.
    lib.queueFeatureReport(featureReport("0d0164", 7));
    lib.queueFeatureReport(std::nullopt);
    lib.queueFeatureReport(keyReport(80));
    run(30);
    EXPECT_EQ(heard.back(), std::make_pair(true, 50));
}

// Plan 2 reads every poll report field by field, announces the mouse the first time and
// hands the report to the command parser.
TEST_F(HidapiTest, PlanTwoPollReadsTheDeviceInformation)
{
    state->setChipPlan(2);
    std::vector<QByteArray> parsed;
    manager.setCustomDataHandler([&](const QByteArray &r) { parsed.push_back(r); });
    lib.setIdleReport(featureReport("0d00 00 03 64 3212 05", 64));
    open();
    settle();
    // Device type 1 is asked for its information; the poll starts.
    ASSERT_EQ(lib.writes().size(), 1u);
    EXPECT_EQ(lib.writes()[0], featureReport("0da50900", 17));
    run(10);
    const QXMouseInfoItem &info = state->mouseInfoItem();
    EXPECT_EQ(info.dpi(), 3);
    EXPECT_EQ(info.powerPercent(), 64.0);
    EXPECT_EQ(info.icType(), 1u);
    EXPECT_EQ(info.mouseType(), 5u);
    EXPECT_TRUE(state->mouseIsConnect());
    EXPECT_EQ(notes.names(), (QStringList{qx::notify::kUSBInsertNotification, qx::notify::HadUSBInfoNotification}));
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].size(), 64);

    lib.queueFeatureReport(featureReport("0d00 35 03 64 3212 05", 64)); // key 53 -> 37
    run(20);
    EXPECT_EQ(notes.count(qx::notify::HadUSBInfoNotification), 1);
    EXPECT_EQ(heard, (std::vector<std::pair<bool, int>>{{true, 37}}));
    EXPECT_EQ(parsed.size(), 3u);
}

TEST_F(HidapiTest, PlanTwoPointerReceiverMapsItsKeyByte)
{
    state->setChipPlan(2);
    lib.setDevices({hidapiInterface(0x3151, 0x23AB, 0xFF05, 0, "/dev/hidraw5")});
    lib.setIdleReport(featureReport("0d00", 64));
    manager.hidRequestReadMouseInfoVid(0x3151, 0x23AB, listener());
    settle();
    lib.queueFeatureReport(featureReport("0d004a", 64)); // typing key down in mode 1
    lib.queueFeatureReport(featureReport("0d004c", 64)); // effect key: clear, then show
    run(30);
    EXPECT_EQ(state->mouseInfoItem().deviceType(), 2u);
    EXPECT_EQ(heard, (std::vector<std::pair<bool, int>>{{true, 33}}));
    const int clear = int(fakes.log.calls.indexOf("clearDraw"));
    EXPECT_GE(clear, 0);
    EXPECT_EQ(fakes.log.calls.indexOf("showLaserPenEffect"), clear + 1);
}

// Closing while a read is in progress waits for it, drops its result and ends the poll.
TEST_F(HidapiTest, CloseWhilePollingJoinsAndNothingRunsAfter)
{
    openPastFirstInfo();
    lib.setIdleReport(keyReport(51));
    lib.blockReads(true);
    sched.advance(10); // a poll read starts and hangs in the device
    ASSERT_TRUE(lib.waitForBlockedRead());

    std::atomic<bool> closing{false};
    std::thread device([&] {
        while (!closing.load())
            std::this_thread::yield();
        lib.blockReads(false); // the device answers while close() waits for the thread
    });
    closing = true;
    manager.hidRequestClose();
    device.join();

    const QStringList events = lib.events();
    EXPECT_LT(events.lastIndexOf("read-done"), events.indexOf("close"));
    EXPECT_EQ(events.back(), "exit");
    EXPECT_FALSE(lib.deviceOpen());
    const int reads = lib.readCount();
    QCoreApplication::processEvents();
    sched.advance(1000);
    QCoreApplication::processEvents();
    EXPECT_EQ(lib.readCount(), reads);
    EXPECT_EQ(listenerCalls, 0);
    EXPECT_EQ(sched.pendingCount(), 0);
}

// A listener that closes the transport from its own call ends the report there.
TEST_F(HidapiTest, ListenerMayCloseTheTransport)
{
    state->setChipPlan(2);
    lib.setIdleReport(featureReport("0d00 33 03 64 3212 05", 64));
    int parsed = 0;
    manager.setCustomDataHandler([&](const QByteArray &) { ++parsed; });
    manager.hidRequestReadMouseInfoVid(kVid, kPid, [&](bool, int type) {
        heard.emplace_back(true, type);
        manager.hidRequestClose();
    });
    settle();
    run(10);
    EXPECT_EQ(heard, (std::vector<std::pair<bool, int>>{{true, 33}}));
    EXPECT_FALSE(manager.isOpen());
    EXPECT_EQ(parsed, 0);
    EXPECT_EQ(state->mouseInfoItem().dpi(), 0); // the rest of the report was not read
    run(50);
    EXPECT_EQ(heard.size(), 1u);
}
