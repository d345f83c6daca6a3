#include "DeviceWorld.h"
#include "QXHidCommandManager.h"
#include "RecordingHidSink.h"

#include <gtest/gtest.h>

namespace {

QByteArray R(int n, const char *hex)
{
    return RecordingHidSink::R(n, hex);
}

class HidCommandManager : public ::testing::Test, protected DeviceWorld {
protected:
    RecordingHidSink sink;
    QXHidCommandManager mgr{fakes.seams()};

    void SetUp() override
    {
        mgr.setHidSink(&sink);
        state->setMouseIsConnect(true);
    }
    void plan(int p) { state->setChipPlan(p); }
};

TEST_F(HidCommandManager, DpiIsStoredAsTheListIndexOnEveryPlan)
{
    const struct {
        int plan;
        quint64 icType;
        qint64 index;
        QByteArray report;
    } rows[] = {
        {2, 2, 3, R(64, "0da54d0568034c")},
        // Plan 3 sends the sensor's own step but the state keeps the index the pages use.
        {3, 1, 4, R(24, "0f05123f")},
        {3, 1, 0, R(24, "0f051220")},
        {6, 2, 0, R(21, "0c4d0568014c")},
        {7, 2, 2, R(21, "a6044d68034c")},
        {1, 2, 2, R(16, "00")},
    };
    for (const auto &r : rows) {
        plan(r.plan);
        state->mouseInfoItem().setIcType(r.icType);
        state->mouseInfoItem().setDpi(-7);
        sink.reports.clear();
        mgr.sendSetDpiData(r.index);
        EXPECT_EQ(sink.reports, QList<QByteArray>{r.report}) << "plan " << r.plan;
        EXPECT_EQ(state->mouseInfoItem().dpi(), r.index) << "plan " << r.plan;
    }
}

TEST_F(HidCommandManager, MicrophoneCommandsDriveTheVoiceState)
{
    QList<std::pair<bool, QByteArray>> handed;
    mgr.setVoiceDataBlock([&](bool start, QByteArrayView audio) { handed.append({start, audio.toByteArray()}); });

    // Plan 2 opens; only the device's voice end closes the stream.
    plan(2);
    mgr.sendOpenMicData();
    EXPECT_TRUE(mgr.isStartVoice());
    mgr.sendCloseMicData();
    EXPECT_TRUE(mgr.isStartVoice());

    // Plan 5 has no microphone frame but the state still says streaming.
    mgr.setIsStartVoice(false);
    plan(5);
    mgr.sendOpenMicData();
    EXPECT_TRUE(mgr.isStartVoice());

    // Plan 3: the open empties what the voice interface left; the close ends the stream.
    plan(3);
    proto::HidVoiceContext ctx;
    ctx.chipPlan = 3;
    ctx.isStartVoice = true;
    mgr.voiceStream().handleVoiceData(ctx, QByteArray(100, 'x'));
    ASSERT_EQ(mgr.voiceStream().audioData().size(), 100);
    mgr.sendOpenMicData();
    EXPECT_TRUE(mgr.voiceStream().audioData().isEmpty());
    mgr.sendCloseMicData();
    EXPECT_FALSE(mgr.isStartVoice());
    EXPECT_TRUE(handed.isEmpty());

    // Plan 4: the close hands the rest to the speech service, even when nothing is left.
    plan(4);
    mgr.sendOpenMicData();
    mgr.sendCloseMicData();
    EXPECT_FALSE(mgr.isStartVoice());
    ASSERT_EQ(handed.size(), 1);
    EXPECT_FALSE(handed[0].first);
    EXPECT_TRUE(mgr.voiceStream().encodeData().isEmpty());
}

TEST_F(HidCommandManager, KeyResetVoiceChipTimeAndLostDevice)
{
    plan(2);
    fakes.keys.setIsResetKey(true);
    mgr.sendResetKeyStatusData();
    EXPECT_EQ(sink.pressTypes, QList<qint64>{0});
    EXPECT_FALSE(fakes.keys.isResetKey());

    FixedClock clock(QDateTime::fromSecsSinceEpoch(1700000000));
    mgr.setClock(&clock);
    sink.reports.clear();
    mgr.sendGetXunFeiChipAuthData();
    EXPECT_EQ(state->IFlytekChip_time(), 1700000000u);
    EXPECT_EQ(sink.reports, QList<QByteArray>{R(64, "0c4d0072f153654c")});

    // A serial number that does not fit goes nowhere.
    sink.reports.clear();
    mgr.sendSetSNData(QString(300, u'9'));
    plan(7);
    mgr.sendSetSNData(QStringLiteral("QX0123456789abcdeZ"));
    EXPECT_TRUE(sink.reports.isEmpty());

    // No receiver open: dropped by the device; no HID layer at all: dropped here.
    sink.deviceOpen = false;
    mgr.sendGetMouseInfoData();
    mgr.setHidSink(nullptr);
    mgr.sendSetDpiData(3);
    mgr.sendResetKeyStatusData();
    mgr.sendCurrentTimeData();
    EXPECT_TRUE(sink.reports.isEmpty());
}

TEST_F(HidCommandManager, PollAsksEveryThreeSecondsOrFiveOnPlan4)
{
    plan(2);
    mgr.startTimer();
    sched.advance(9000);
    EXPECT_EQ(sink.reports, QList<QByteArray>(3, R(64, "0da54d04694c")));

    sink.reports.clear();
    state->mouseInfoItem().setDeviceType(4); // remote control receiver
    sched.advance(3000);
    EXPECT_EQ(sink.reports, QList<QByteArray>{R(64, "0d53430045")});

    sink.reports.clear();
    state->mouseInfoItem().setDeviceType(1);
    plan(4);
    mgr.startTimer();
    sched.advance(4999);
    EXPECT_TRUE(sink.reports.isEmpty());
    sched.advance(5001);
    EXPECT_EQ(sink.reports, QList<QByteArray>(2, R(21, "0c0538")));
}

TEST_F(HidCommandManager, PollKeepsQuietDuringVoiceAndOnPlansWithoutAQuery)
{
    plan(6);
    mgr.startTimer();
    sched.advance(4000);
    mgr.setIsStartVoice(true);
    sched.advance(4000); // the tick at 6 s falls inside the stream
    mgr.setIsStartVoice(false);
    sched.advance(1000);
    EXPECT_EQ(sink.reports, QList<QByteArray>(2, R(21, "0c4d04694c")));

    for (int p : {1, 3, 5, 7}) {
        sink.reports.clear();
        plan(p);
        mgr.startTimer();
        sched.advance(6000);
        EXPECT_TRUE(mgr.isTimerRunning()) << p;
        EXPECT_TRUE(sink.reports.isEmpty()) << p;
    }
}

TEST_F(HidCommandManager, PollTimerIsReplacedNotAdded)
{
    plan(2);
    mgr.startTimer();
    mgr.startTimer();
    EXPECT_EQ(sched.pendingCount(), 1);
    sched.advance(3000);
    EXPECT_EQ(sink.reports.size(), 1);

    // The interval is read at start, the query at each tick.
    sink.reports.clear();
    plan(4);
    sched.advance(3000);
    EXPECT_EQ(sink.reports, QList<QByteArray>{R(21, "0c0538")});

    mgr.invalidateTimer();
    mgr.invalidateTimer();
    EXPECT_FALSE(mgr.isTimerRunning());
    EXPECT_EQ(sched.pendingCount(), 0);

    // The voice keep-alive runs only when asked for.
    sink.reports.clear();
    plan(2);
    mgr.startCheckVoiceTimer();
    sched.advance(2000);
    mgr.invalidateCheckVoiceTimer();
    sched.advance(5000);
    EXPECT_EQ(sink.reports, QList<QByteArray>(2, R(64, "0c4d04104c")));
}

TEST_F(HidCommandManager, ComputerMicrophoneSessionDoesNotSilenceThePoll)
{
    // Voice from the computer's microphone on a plan-2 mouse: the device sends no voice
    // end that would clear the flag, so closing the microphone must.
    bool fromComputer = true;
    mgr.setIsFromMicDataSource([&] { return fromComputer; });
    plan(2);
    mgr.startTimer();
    mgr.sendOpenMicData();
    sched.advance(3000);
    mgr.sendCloseMicData();
    EXPECT_FALSE(mgr.isStartVoice());
    sink.reports.clear();
    sched.advance(3000);
    EXPECT_EQ(sink.reports, QList<QByteArray>{R(64, "0da54d04694c")});

    // Device voice: the stream stays on until the device says it ended.
    fromComputer = false;
    mgr.sendOpenMicData();
    mgr.sendCloseMicData();
    EXPECT_TRUE(mgr.isStartVoice());
}

} // namespace
