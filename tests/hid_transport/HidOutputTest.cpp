// Output reports: their length per family, the 50 ms pacing with its de-duplication,
// and the status codes.
#include "HidTransportFixture.h"

#include "HidReportRules.h"

using Role = SimulatedReceiver::Role;

TEST(HidOutputLengthTest, LengthTable)
{
    struct Row {
        qint64 plan;
        quint64 deviceType;
        bool length33;
        int length;
    } rows[] = {
        {1, 1, false, 16}, {2, 1, false, 64}, {3, 1, false, 24}, {4, 1, false, 21}, {6, 1, false, 21},
        {6, 1, true, 33},  {6, 2, false, 33}, {7, 1, true, 21},  {0, 1, false, 64}, {5, 1, false, 64},
        {4, 1, true, 21},  {2, 5, false, 8},  {6, 5, true, 8},   {0, 5, false, 8},
    };
    for (const Row &r : rows)
        EXPECT_EQ(qx::hid::outputReportLength(r.plan, r.deviceType, r.length33), r.length)
            << "plan " << r.plan << " type " << r.deviceType << " 33 " << r.length33;
    EXPECT_TRUE(qx::hid::isShortCommand(hex("1ba5")));
    EXPECT_FALSE(qx::hid::isShortCommand(hex("1b")));
    EXPECT_FALSE(qx::hid::isShortCommand(hex("a51b")));
}

class HidOutputTest : public HidTransportTest {
protected:
    void SetUp() override
    {
        watch();
        rx = plugRow(1); // plan 1 until a test says otherwise
        rx->clearWritten();
    }
    QList<QByteArray> sent() const { return rx->writtenTo(Role::Command); }
    std::unique_ptr<SimulatedReceiver> rx;
};

TEST_F(HidOutputTest, ReportsGoOutInTheLengthOfTheMoment)
{
    struct Row {
        qint64 plan;
        quint64 deviceType;
        const char *command;
        const char *wire;
    } rows[] = {
        {1, 1, "0d14", "0d140000000000000000000000000000"},
        {4, 1, "1ba5f1", "1ba5f10000"},
        {3, 1, "000201", "000201000000000000000000000000000000000000000000"},
        {2, 5, "0d0102030405060708090a", "0d01020304050607"},
        {6, 2, "0d", "0d0000000000000000000000000000000000000000000000000000000000000000"},
        {7, 1, "1c", "1c0000000000000000000000000000000000000000"},
    };
    for (const Row &r : rows) {
        st().setChipPlan(r.plan);
        item().setDeviceType(r.deviceType);
        rx->clearWritten();
        EXPECT_EQ(hid->sendData(hex(r.command)), 0u);
        ASSERT_EQ(sent().size(), 1) << r.command;
        EXPECT_EQ(sent().first().toHex(), QByteArray(r.wire)) << "plan " << r.plan;
        sched.advance(HIDDevice::kPacingMs);
    }
}

TEST_F(HidOutputTest, OneReportEveryFiftyMilliseconds)
{
    const QByteArray x = hex("0d01"), y = hex("0d02"), z = hex("0d03");
    hid->sendData(x);
    sched.advance(10);
    hid->sendData(y);
    sched.advance(10);
    hid->sendData(z);
    EXPECT_EQ(hid->commandArr().size(), 2);
    sched.advance(200);
    const auto &w = rx->written();
    ASSERT_EQ(w.size(), 3);
    EXPECT_EQ(w[0].atMs, 0);
    EXPECT_EQ(w[1].atMs, 50);
    EXPECT_EQ(w[2].atMs, 100);
    EXPECT_EQ(w[0].report.left(2), x);
    EXPECT_EQ(w[1].report.left(2), y);
    EXPECT_EQ(w[2].report.left(2), z);
    EXPECT_FALSE(hid->isSendingData());
}

TEST_F(HidOutputTest, IdenticalWaitingCommandsLeaveOnce)
{
    hid->sendData(hex("0d01"));
    hid->sendData(hex("0d02"));
    hid->sendData(hex("0d03"));
    hid->sendData(hex("0d02"));
    hid->sendData(hex("0d02"));
    sched.advance(500);
    QList<qint64> times;
    QList<QByteArray> firstBytes;
    for (const auto &w : rx->written()) {
        times << w.atMs;
        firstBytes << w.report.left(2).toHex();
    }
    EXPECT_EQ(firstBytes, (QList<QByteArray>{"0d01", "0d02", "0d03"}));
    EXPECT_EQ(times, (QList<qint64>{0, 50, 100}));
}

TEST_F(HidOutputTest, WaitingCommandsKeepTheirLengthRulesAndNeverGrow)
{
    st().setChipPlan(4);
    hid->sendData(hex("0d01"));
    hid->sendData(hex("1ba5f1"));
    hid->sendData(hex("0d02"));
    st().setChipPlan(2); // 64 bytes now, but the waiting entries hold 21
    sched.advance(100);
    ASSERT_EQ(sent().size(), 3);
    EXPECT_EQ(sent()[0].size(), 21);
    EXPECT_EQ(sent()[1].toHex(), QByteArray("1ba5f10000"));
    EXPECT_EQ(sent()[2].size(), 21);
    // Shrinking applies at once.
    st().setChipPlan(4);
    hid->sendData(hex("0d03"));
    hid->sendData(hex("0d04"));
    st().setChipPlan(1);
    sched.advance(100);
    EXPECT_EQ(sent()[4].size(), 16);
}

TEST_F(HidOutputTest, StatusCodesAndCallbacks)
{
    std::vector<std::pair<bool, QString>> results;
    const auto record = [&results](bool ok, const QString &message) { results.emplace_back(ok, message); };

    hid->setPressType(33);
    EXPECT_EQ(hid->hidRequestSendCommand(hex("0d01"), record), 0u);
    EXPECT_EQ(hid->pressType(), 0);
    hid->setPressType(35);
    EXPECT_EQ(hid->hidRequestSendCommand(hex("0d02"), record), 0u); // queued counts as sent
    EXPECT_EQ(hid->pressType(), 0);
    EXPECT_EQ(hid->hidRequestSendCommand(hex("0d02")), 0u); // no callback is fine

    hid->setPressType(37);
    EXPECT_EQ(hid->hidRequestSendCommand(QByteArray(), record), HIDDevice::kIOReturnBadArgument);
    bus.fake().setOpenError(rx->path(Role::Command), platform::HidError::AccessDenied);
    EXPECT_EQ(hid->hidRequestSendCommand(hex("0d03"), record), HIDDevice::kIOReturnNotPermitted);
    EXPECT_EQ(hid->commandArr().size(), 2); // the two waiting 0d02, nothing from the failed send
    EXPECT_EQ(hid->pressType(), 37);

    rx->unplug();
    EXPECT_EQ(hid->hidRequestSendCommand(hex("0d04"), record), HIDDevice::kIOReturnNoDevice);
    EXPECT_EQ(hid->pressType(), 37);
    EXPECT_EQ(results,
              (std::vector<std::pair<bool, QString>>{{true, ""}, {true, ""}, {false, ""}, {false, ""}, {false, ""}}));
}

TEST_F(HidOutputTest, AWriteFailureStillPacesTheNextReport)
{
    bus.fake().setWriteError(rx->path(Role::Command), platform::HidError::Io);
    EXPECT_EQ(hid->sendData(hex("0d01")), HIDDevice::kIOReturnError);
    bus.fake().setWriteError(rx->path(Role::Command), platform::HidError::None);
    EXPECT_EQ(hid->sendData(hex("0d02")), 0u);
    EXPECT_TRUE(sent().isEmpty());
    sched.advance(50);
    ASSERT_EQ(sent().size(), 1);
    EXPECT_EQ(sent()[0].left(2), hex("0d02"));
}

TEST_F(HidOutputTest, TheNextReceiverNeverGetsTheOldQueue)
{
    hid->sendData(hex("0d01"));
    hid->sendData(hex("0d02"));
    hid->sendData(hex("0d03"));
    rx->unplug();
    auto next = plugRow(9);
    next->clearWritten();
    EXPECT_EQ(hid->sendData(hex("0d09")), 0u); // goes at once: no pacing left from the old device
    sched.advance(500);
    const QList<QByteArray> got = next->writtenTo(Role::Command);
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].size(), 64);
    EXPECT_EQ(got[0].left(2), hex("0d09"));
}
