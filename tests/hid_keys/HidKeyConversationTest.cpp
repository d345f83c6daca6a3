// Simulated receivers emit key reports over the real HID transport; the parser with
// the key handlers answers them on virtual time.
#include "FakeChipTokenClient.h"
#include "FrameDecoder.h"
#include "HidEventHandlers.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXMouseCommandManager.h"
#include "RecordingHidSink.h"
#include "hid_transport/HidTransportFixture.h"

using Role = SimulatedReceiver::Role;

namespace {

class HidKeyConversation : public HidTransportTest {
protected:
    QXHidCommandManager mgr{fakes.seams()};
    QXBLEMouseCommandManager ble{nullptr, nullptr, fakes.seams()};
    QXMouseCommandManager facade{mgr, ble};
    QXHidReportParser parser{mgr, &facade};
    FakeChipTokenClient tokens;
    HidEventHandlers handlers{parser, &tokens};
    QStringList heard; // what the receiver understood, in order

    ~HidKeyConversation() override
    {
        mgr.invalidateTimer();
        mgr.setHidSink(nullptr);
        hid->setSinks(recordingSinks()); // the parser goes first
    }

    // A receiver of table row n, open, its mouse present with key setting on; it
    // answers each report through `answer` (may be empty).
    std::unique_ptr<SimulatedReceiver> open(int row,
                                            std::function<void(SimulatedReceiver &, const QString &)> answer = {})
    {
        watch();
        auto rx = plugRow(row);
        sched.advance(2000);
        rx->clearWritten();
        mgr.setHidSink(hid.get());
        QXHidReportParser::Deps s;
        s.cancelPeripheralConnection = [] {};
        s.startScan = [] {};
        parser.setDeps(s);
        parser.attachTo(*hid);
        st().setIsSupportKeySetting(true);
        st().setMouseIsConnect(true);
        const int plan = int(st().chipPlan());
        rx->setResponder(
            [this, plan, answer](SimulatedReceiver &r, const SimulatedReceiver::Interface &, const QByteArray &report) {
                const auto d = sim::FrameDecoder::decodeHid(plan, report);
                const QString name = d ? d->command : QStringLiteral("?") + QString::fromLatin1(report.toHex());
                heard << name;
                if (answer)
                    answer(r, name);
            });
        fakes.log.clear();
        fakes.voice.pressTypes.clear(); // the transport's 0 after the open
        return rx;
    }
};

TEST_F(HidKeyConversation, PointerSearchKeyOpensTheMicrophoneAndTheDeviceStreams)
{
    // The pointer mouse starts streaming when its microphone is opened and stops when closed.
    auto rx = open(9, [](SimulatedReceiver &r, const QString &command) {
        if (command == QLatin1String("sendOpenMicData"))
            r.reply(Role::Command, RecordingHidSink::R(64, "0d5a4d5a004c"), 5);
        else if (command == QLatin1String("sendCloseMicData"))
            r.reply(Role::Command, RecordingHidSink::R(64, "0d5a4d00004c"), 5);
    });
    ASSERT_EQ(st().chipPlan(), 2);

    rx->sendInput(Role::Command, RecordingHidSink::R(64, "0d5a4d9c004c"));
    EXPECT_EQ(fakes.voice.pressTypes, std::vector<int>{35});
    sched.advance(500);
    EXPECT_TRUE(mgr.isStartVoice());
    EXPECT_TRUE(hid->isStartVoice()); // through the parser's completion

    rx->sendInput(Role::Command, RecordingHidSink::R(64, "0d5a4d9d004c"));
    sched.advance(500);
    EXPECT_EQ(fakes.voice.pressTypes, (std::vector<int>{35, 36}));
    EXPECT_FALSE(mgr.isStartVoice());
    EXPECT_FALSE(hid->isStartVoice());
    EXPECT_EQ(heard, QStringList({"sendGetReceiveData", "sendOpenMicData", "sendGetReceiveData", "sendGetReceiveData",
                                  "sendCloseMicData", "sendGetReceiveData"}));
}

TEST_F(HidKeyConversation, Plan4KeyIsAcknowledgedBeforeItTakesEffect)
{
    auto rx = open(17);
    ASSERT_EQ(st().chipPlan(), 4);
    rx->sendInput(Role::Command, RecordingHidSink::R(21, "0c1137"));
    sched.advance(HidKeyEventHandler::kPlan4KeyDelayMs - 1);
    EXPECT_EQ(heard, QStringList({"sendGetReceiveData"}));
    EXPECT_TRUE(fakes.voice.pressTypes.empty());
    sched.advance(1);
    EXPECT_EQ(fakes.voice.pressTypes, std::vector<int>{53});
}

TEST_F(HidKeyConversation, Plan6KeyboardVoiceKeyAndChipAuthorisation)
{
    // The keyboard's chip answers the authorisation request with its data in two pieces.
    auto rx = open(23, [](SimulatedReceiver &r, const QString &command) {
        if (command == QLatin1String("sendGetXunFeiChipAuthData")) {
            r.reply(Role::Command, RecordingHidSink::R(21, "0c4e0403617574"), 10);
            r.reply(Role::Command, RecordingHidSink::R(21, "0c4e05026830"), 20);
        }
    });
    ASSERT_EQ(st().chipPlan(), 6);
    st().setIsKeyboard(true);

    rx->sendInput(Role::Command, RecordingHidSink::R(21, "0c4d05370000"));
    sched.advance(100);
    EXPECT_EQ(fakes.voice.pressTypes, std::vector<int>{33});
    EXPECT_EQ(fakes.keys.lastPressType(), 33);

    rx->sendInput(Role::Command, RecordingHidSink::R(21, "0c4e030451513031"));
    sched.advance(500);
    EXPECT_EQ(st().IFlytekChip_DeviceID(), QStringLiteral("QQ01"));
    EXPECT_EQ(heard, QStringList({"sendOpenMicData", "sendGetXunFeiChipAuthData"}));
    EXPECT_EQ(st().IFlytekChip_AuthDataStr(), QStringLiteral("auth0"));
    ASSERT_EQ(tokens.requests.size(), 1u);
    tokens.answer(0, true);
    EXPECT_EQ(fakes.log.count(QStringLiteral("initSubViews")), 1);
}

} // namespace
