// The command manager over the real HID transport and a simulated receiver that reads
// each report the way a device of its family does.
#include "FrameDecoder.h"
#include "QXHidCommandManager.h"
#include "RecordingHidSink.h"
#include "hid_transport/HidTransportFixture.h"

using Role = SimulatedReceiver::Role;

namespace {

class HidConversation : public HidTransportTest {
protected:
    QXHidCommandManager mgr{fakes.seams()};
    QStringList heard; // what the receiver understood, in order

    std::unique_ptr<SimulatedReceiver> open(int row)
    {
        watch();
        auto rx = plugRow(row);
        sched.advance(2000); // the transport's own first requests are done
        rx->clearWritten();
        const int plan = int(st().chipPlan());
        rx->setResponder([this, plan](SimulatedReceiver &, const SimulatedReceiver::Interface &, const QByteArray &r) {
            const auto d = sim::FrameDecoder::decodeHid(plan, r);
            heard << (d ? d->command : QStringLiteral("?") + QString::fromLatin1(r.toHex()));
        });
        mgr.setHidSink(hid.get());
        return rx;
    }
};

TEST_F(HidConversation, Plan2ReceiverGetsPacedFullLengthReports)
{
    auto rx = open(9); // 0x3151/0x22AB: plan 2
    ASSERT_EQ(st().chipPlan(), 2);
    st().setMouseIsConnect(true);

    mgr.sendSetDpiData(3);
    mgr.sendGetMouseInfoData();
    mgr.sendKeyCommandDataKeyCode1(1, 25);
    sched.advance(3 * HIDDevice::kPacingMs);
    const QList<QByteArray> wire = rx->writtenTo(Role::Command);
    ASSERT_EQ(wire.size(), 3);
    EXPECT_EQ(wire[0], RecordingHidSink::R(64, "0da54d0568034c"));
    EXPECT_EQ(wire[2], RecordingHidSink::R(64, "0da54d062001194c"));
    EXPECT_EQ(heard, QStringList({"sendSetDpiData", "sendGetMouseInfoData", "sendKeyCommandDataKeyCode1"}));
    EXPECT_EQ(rx->written()[1].atMs - rx->written()[0].atMs, HIDDevice::kPacingMs);

    // The poll asks whether the mouse is there; the key reset clears the device's press type.
    heard.clear();
    hid->setPressType(33);
    mgr.startTimer();
    sched.advance(3000 + HIDDevice::kPacingMs);
    mgr.invalidateTimer();
    mgr.sendResetKeyStatusData();
    sched.advance(HIDDevice::kPacingMs);
    EXPECT_EQ(heard, QStringList({"sendSearchMouseConnectStatusData", "sendResetKeyStatusData"}));
    EXPECT_EQ(hid->pressType(), 0);
}

TEST_F(HidConversation, Plan4MicrophoneIsAFiveByteReportAndAGoneReceiverDropsCommands)
{
    auto rx = open(17); // 0x3151/0x10AB: plan 4
    ASSERT_EQ(st().chipPlan(), 4);
    mgr.sendOpenMicData();
    sched.advance(HIDDevice::kPacingMs);
    mgr.sendCloseMicData();
    sched.advance(HIDDevice::kPacingMs);
    EXPECT_EQ(rx->writtenTo(Role::Command),
              QList<QByteArray>({QByteArray::fromHex("1ba5f10000"), QByteArray::fromHex("1ba5f20000")}));
    EXPECT_EQ(heard, QStringList({"sendOpenMicData", "sendCloseMicData"}));

    rx->unplug();
    sched.runDue();
    rx->clearWritten();
    mgr.sendSetDpiData(1);
    mgr.sendGetMouseSN();
    sched.advance(1000);
    EXPECT_TRUE(rx->written().isEmpty());
}

} // namespace
