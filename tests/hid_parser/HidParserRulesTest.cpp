// Acknowledgement, completion and presence rules of each family.
#include "HidParserFixture.h"

#include "NotificationNames.h"

namespace {

const QString kInsert = QString::fromLatin1(qx::notify::kUSBInsertNotification);
const QString kRemove = QString::fromLatin1(qx::notify::kUSBRemoveNotification);

using Completions = std::vector<std::pair<int, int>>;

TEST_F(HidParserTest, FramedRepliesAreAcknowledgedFirstAndCompleted)
{
    feed(R(64, "0d5a4d31004c"));
    EXPECT_EQ(sent(), QList<QByteArray>({R(64, "0da54d04104c")}));
    EXPECT_EQ(handled, QStringList({"key:31 after 1 sent"})); // the acknowledgement went out first
    EXPECT_EQ(completions, Completions({{0x31, 0}}));

    // Unknown commands and command 0 are acknowledged too; statuses are signed.
    completions.clear();
    feed(R(64, "0d5a4d99ff"));
    feed(R(64, "0d5a4d0080"));
    EXPECT_EQ(sent(), QList<QByteArray>({R(64, "0da54d04104c"), R(64, "0da54d04104c")}));
    EXPECT_EQ(completions, Completions({{0x99, -1}, {0, -128}}));

    // A report that is no framed reply: nothing at all.
    completions.clear();
    feed(R(64, "0d1122"));
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_TRUE(completions.empty());

    // The key handler may end a framed reply without the completion (mode toggle mid-session).
    handlers.completeFramed = false;
    feed(R(64, "0d5a4d40004c"));
    EXPECT_TRUE(completions.empty());
}

TEST_F(HidParserTest, FramedConnectionStatusDrivesPresence)
{
    state->setMouseIsConnect(false);
    feed(R(64, "0d5a4d6900"));
    EXPECT_TRUE(sent().isEmpty()); // 0x69 is never acknowledged
    EXPECT_TRUE(state->mouseIsConnect());
    EXPECT_TRUE(state->isSupportKeySetting());
    EXPECT_EQ(bleCalls, QStringList({"cancelPeripheralConnection"}));
    EXPECT_TRUE(hid.isTimerRunning());
    EXPECT_EQ(notes.names(), QStringList({kInsert}));
    sched.advance(499);
    EXPECT_TRUE(sent().isEmpty());
    sched.advance(1);
    EXPECT_EQ(sent(), QList<QByteArray>({R(64, "0da54d04614c")}));
    EXPECT_EQ(completions, Completions({{0x69, 0}}));

    // Already present: nothing more.
    feed(R(64, "0d5a4d6900"));
    sched.advance(1000);
    EXPECT_EQ(notes.count(kInsert), 1);

    bleCalls.clear();
    feed(R(64, "0d5a4d6901"));
    EXPECT_FALSE(state->mouseIsConnect());
    EXPECT_EQ(bleCalls, QStringList({"startScan"}));
    EXPECT_EQ(notes.count(kRemove), 1);
    EXPECT_EQ(completions.back(), std::make_pair(0x69, 1));

    // Unplugged (0x60) is gone whatever the state was.
    feed(R(64, "0d5a4d60004c"));
    EXPECT_EQ(notes.count(kRemove), 2);
}

TEST_F(HidParserTest, FramedPresentActionsEachAskOnce)
{
    // Present, gone and present again within 0.5 s: the framed family asks twice.
    state->setMouseIsConnect(false);
    feed(R(64, "0d5a4d6900"));
    feed(R(64, "0d5a4d6901"));
    feed(R(64, "0d5a4d6900"));
    sched.advance(600);
    EXPECT_EQ(sent(), QList<QByteArray>({R(64, "0da54d04614c"), R(64, "0da54d04614c")}));
}

TEST_F(HidParserTest, Plan7AcknowledgesEveryCommandBeforeThePrefix)
{
    plan(7);
    feed(R(21, "a6054d3300"));
    EXPECT_EQ(sent(), QList<QByteArray>({R(21, "a6034d104c")}));
    EXPECT_EQ(handled, QStringList({"key:33 after 1 sent"}));
    EXPECT_TRUE(completions.empty());

    feed(R(21, "0c000001"));
    EXPECT_EQ(sent(), QList<QByteArray>({R(21, "a6034d104c")}));

    // 0x00 is the device gone, not acknowledged, and only outside a voice stream.
    hid.setIsStartVoice(true);
    feed(R(21, "a6054d0000"));
    EXPECT_TRUE(state->mouseIsConnect());
    hid.setIsStartVoice(false);
    feed(R(21, "a6054d0000"));
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_FALSE(state->mouseIsConnect());
    EXPECT_EQ(bleCalls, QStringList({"startScan"}));
    EXPECT_EQ(notes.names(), QStringList({kRemove}));
}

TEST_F(HidParserTest, Plan6AcknowledgesOnlyForProduct113AndCoalescesPresence)
{
    plan(6);
    ids.first = 0x248A;
    ids.second = 0x61AB;
    state->setProductCode(QStringLiteral("113"));
    feed(R(21, "0c4d053300"));
    EXPECT_EQ(sent(), QList<QByteArray>({R(21, "0c4d04104c")}));
    EXPECT_EQ(handled.last(), "key:33 after 1 sent");

    state->setProductCode(QStringLiteral("56"));
    feed(R(21, "0c4d053300"));
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(handled.size(), 2);

    // Every reply but 0x00 and 0x69 shows the device; repeated present actions within
    // 0.5 s ask for the information once.
    state->setMouseIsConnect(false);
    feed(R(21, "0c4d051000"));
    EXPECT_TRUE(state->mouseIsConnect());
    feed(R(21, "0c4d054c00")); // another unlisted command
    state->setMouseIsConnect(false);
    feed(R(21, "0c4d053300"));
    sched.advance(600);
    EXPECT_EQ(sent(), QList<QByteArray>({R(21, "0c4d04614c")}));
    EXPECT_EQ(notes.count(kInsert), 2);

    // Voice chip and voice outside a stream go to the key handler.
    handled.clear();
    feed(R(21, "0c4e010212ab"));
    feed(R(33, "1be803100012"));
    EXPECT_EQ(handled, QStringList({"voiceChip:01 after 0 sent", "voiceOutside:-1 after 0 sent"}));
}

TEST_F(HidParserTest, Plan4ReframesOneReceiverAndRunsPresenceOnEveryReport)
{
    plan(4);
    ids.second = 0x12AB;
    state->setMouseIsConnect(false);
    feed(R(21, "0c991133"));
    EXPECT_EQ(sent(), QList<QByteArray>({R(21, "0c0529")}));
    EXPECT_EQ(handled, QStringList({"plan4Key:33 after 1 sent"}));
    EXPECT_TRUE(state->mouseIsConnect());
    sched.advance(500);
    EXPECT_EQ(sent(), QList<QByteArray>({R(21, "0c052f")}));

    // Another plan-4 receiver: the same bytes match no prefix, only presence.
    ids.second = 0x11AB;
    handled.clear();
    feed(R(21, "0c991133"));
    EXPECT_TRUE(handled.isEmpty());
    EXPECT_TRUE(sent().isEmpty());

    // Gone without a Bluetooth LE scan.
    feed(R(21, "0c00"));
    EXPECT_FALSE(state->mouseIsConnect());
    EXPECT_EQ(notes.names(), QStringList({kInsert, kRemove}));
    EXPECT_EQ(bleCalls, QStringList({"cancelPeripheralConnection"}));

    // Requests the device makes.
    state->setMouseIsConnect(true);
    feed(R(21, "0c1022"));
    feed(R(21, "0c1030"));
    EXPECT_EQ(sent(), QList<QByteArray>({R(21, "0c052f"), R(21, "0c0538")}));
}

TEST_F(HidParserTest, DeviceType5TakesTheFramedPathOnAnyPlan)
{
    plan(6, 5);
    feed(R(8, "4d13310280"));
    EXPECT_EQ(handled, QStringList({"key:31 after 1 sent"}));
    EXPECT_EQ(completions, Completions({{0x31, 2}}));
}

TEST_F(HidParserTest, FirmwareAndLightingRepliesReachTheirHandlers)
{
    feed(R(64, "0d5a4d7100"));
    feed(R(64, "0d5a4d8501024c"));
    feed(R(64, "0dabc1010002"));
    feed(R(64, "0d81abc2000055"));
    EXPECT_EQ(handled, QStringList({"firmware:71 after 1 sent", "lighting:85 after 2 sent",
                                    "receiverFirmware:c1 after 2 sent", "remoteFirmware:c2 after 2 sent"}));
    EXPECT_EQ(completions, Completions({{0x71, 0}, {0x85, 1}}));
}

TEST_F(HidParserTest, ShortReportsAreDroppedWithoutAcknowledgement)
{
    for (const char *hex : {"", "0d", "0d5a", "0d5a4d", "0d5a4d31"})
        feedHex(hex);
    plan(7);
    feedHex("a6054d");
    feedHex("a6134d6151"); // information cut short
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_TRUE(completions.empty());
    EXPECT_TRUE(handled.isEmpty());
    EXPECT_TRUE(notes.names().isEmpty());
}

} // namespace
