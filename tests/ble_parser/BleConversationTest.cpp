#include "BleFirmwareTransfer.h"
#include "BleNotificationParser.h"
#include "BleStateDelegate.h"
#include "FakeBleCentral.h"
#include "FakeNeighbours.h"
#include "ManualScheduler.h"
#include "NotificationNames.h"
#include "NotificationRecorder.h"
#include "QXBLEManager.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXMouseCommandManager.h"
#include "ScopedUserInfoData.h"
#include "SimBleMouse.h"
#include "SimFirmwareBootloader.h"
#include "firmware/FirmwareTestImages.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

namespace notify = qx::notify;

// A dispatcher that runs a voice input between key-down and key-up like the real one:
// it opens the speech service's recording at the start and closes it at the end.
class LiveDispatcher : public FakeVoiceKeyDispatcher {
public:
    LiveDispatcher(CallLog &log, VoiceKeyState &keys, FakeSpeechService &speech)
        : FakeVoiceKeyDispatcher(log), m_keys(keys), m_speech(speech)
    {
    }
    void hidCallbackType(int type) override
    {
        FakeVoiceKeyDispatcher::hidCallbackType(type);
        if (type == 33 || type == 35 || type == 37) {
            m_keys.setHadStart(true);
            m_speech.startRecording();
        } else if (type == 34 || type == 36 || type == 38) {
            m_keys.setHadStart(false);
            m_speech.stopRecording();
        }
    }

private:
    VoiceKeyState &m_keys;
    FakeSpeechService &m_speech;
};

// The whole road: the simulated mouse on the fake adapter, the central with the
// application's delegate, the parser on the Bluetooth LE command manager, the facade.
class BleConversation : public ::testing::Test {
protected:
    ManualScheduler sched;
    ScopedUserInfoData state;
    FakeNeighbours fakes;
    LiveDispatcher voice{fakes.log, fakes.keys, fakes.speech};
    NotificationRecorder notes;
    FakeBleAdapter adapter;
    sim::SimBleMouse mouse{adapter};
    QXHidCommandManager hidMgr{seams()};
    QXBLEMouseCommandManager bleMgr{nullptr, nullptr, seams()};
    QXMouseCommandManager facade{hidMgr, bleMgr};
    BleNotificationParser parser{bleMgr};
    BleStateDelegate delegate{&parser, &facade};
    std::unique_ptr<QXBLEManager> central = std::make_unique<QXBLEManager>(adapter.factory(), &delegate);
    QList<std::pair<bool, QByteArray>> chunks;

    DeviceSeams seams()
    {
        DeviceSeams s = fakes.seams();
        s.voice = &voice;
        return s;
    }

    void SetUp() override
    {
        bleMgr.setCentral(central.get());
        parser.setCentral(central.get());
        parser.setFormatSizeSource([] { return 0; });
        facade.setSendVoiceDataBlock([this](bool start, QByteArrayView audio) {
            chunks.append({start, audio.toByteArray()});
        });
        state->setIsSupportKeySetting(false);

        adapter.addPeripheral(sim::SimBleMouse::peripheral());
        central->startScan();
        sched.runDue();
        ASSERT_TRUE(adapter.advertise(sim::SimBleMouse::kId));
        sched.runDue();
        ASSERT_EQ(central->stateNOW(), QXBLEManager::kStateConnected);
        ASSERT_TRUE(state->bleConnect());
        notes.clear();
    }
    void TearDown() override
    {
        facade.setSendVoiceDataBlock({});
        central.reset();
    }
    int commandCount(const char *name) const
    {
        int n = 0;
        for (const auto &c : mouse.commands)
            n += c.command == QLatin1String(name) ? 1 : 0;
        return n;
    }
};

TEST_F(BleConversation, TheMouseIntroducesItselfAndItsLighting)
{
    mouse.lightingMode = 6;
    mouse.lightingColor = 2;
    mouse.hand = 1;
    facade.sendGetMouseInfoData();
    sched.advance(100);

    QXMouseInfoItem &item = state->mouseInfoItem();
    EXPECT_EQ(item.sn(), "QX1234");
    EXPECT_EQ(item.mouseType(), 72u);
    EXPECT_EQ(item.firmwareVersion(), "V2.0.1");
    EXPECT_EQ(item.lightingEffectsMode(), 6);
    EXPECT_EQ(item.lightingEffectsColor(), 2);
    EXPECT_EQ(item.mouseLeftOrRightHandBehavior(), 1);
    EXPECT_EQ(notes.count(notify::HadUSBInfoNotification), 1);
    // Four values, and the colour once more: the mode reply asks for it again.
    EXPECT_EQ(notes.count(notify::kUpdateLightingEffectsNotification), 5);
    // Every event the mouse sent was acknowledged, and nothing it sent was misread.
    EXPECT_GT(mouse.eventsSent, 5);
    EXPECT_EQ(mouse.acknowledgements, mouse.eventsSent);
    EXPECT_TRUE(mouse.undecodable.isEmpty());

    // A DPI change made through the facade is read back after the mouse confirms it.
    facade.sendSetDpiData(1);
    sched.advance(100);
    EXPECT_EQ(item.dpi(), 1);
}

TEST_F(BleConversation, DictationFromTheMouseMicrophone)
{
    mouse.pressKey(0x37); // voice key down
    sched.advance(50);
    ASSERT_TRUE(mouse.streaming());
    EXPECT_TRUE(fakes.keys.hadStart());

    // The battery poll lands in the middle: the reply reports the microphone on, and it
    // stays on.
    sched.advance(1000);
    facade.checkElectricStatus();
    sched.advance(1000);
    EXPECT_TRUE(mouse.streaming());

    mouse.pressKey(0x38); // voice key up
    sched.advance(50);
    EXPECT_FALSE(mouse.streaming());
    EXPECT_FALSE(fakes.keys.hadStart());
    EXPECT_EQ(voice.pressTypes, (std::vector<int>{33, 34}));
    EXPECT_EQ(commandCount("sendCloseMicData"), 1);

    // Packets of 20-120 bytes; the recording holds every sample of every one of them.
    const QList<int> sizes = mouse.packetSizesSent();
    ASSERT_GT(sizes.size(), 150);
    EXPECT_EQ(*std::min_element(sizes.begin(), sizes.end()), 20);
    EXPECT_EQ(*std::max_element(sizes.begin(), sizes.end()), 120);
    EXPECT_EQ(fakes.speech.recording.data(), mouse.expectedPcm());

    // The speech service got the raw bytes, in order, in chunks of at least 1280 while
    // streaming and the rest at the end.
    QByteArray handed;
    for (qsizetype i = 0; i < chunks.size(); ++i) {
        handed += chunks[i].second;
        const bool last = i == chunks.size() - 1;
        EXPECT_EQ(chunks[i].first, !last) << i;
        if (!last) {
            EXPECT_GE(chunks[i].second.size(), 1280) << i;
        }
    }
    EXPECT_EQ(handed, mouse.voiceBytes());
    EXPECT_EQ(mouse.acknowledgements, mouse.eventsSent);
}

TEST_F(BleConversation, SecondDictationContinuesTheDecoder)
{
    for (int round = 0; round < 2; ++round) {
        mouse.pressKey(0x33); // toggle on
        sched.advance(300);
        mouse.pressKey(0x33); // toggle off
        sched.advance(50);
        ASSERT_FALSE(mouse.streaming());
    }
    // The recording of the second input continues where the first left the decoder,
    // like the mouse's encoder.
    const QByteArray all = mouse.expectedPcm();
    const QByteArray second = fakes.speech.recording.data();
    ASSERT_FALSE(second.isEmpty());
    EXPECT_TRUE(all.endsWith(second));
    EXPECT_EQ(voice.pressTypes, (std::vector<int>{33, 34, 33, 34}));
}

TEST_F(BleConversation, AcceptedFirmwareReconnectsTheMouse)
{
    const QString otaNotify = QStringLiteral("A8253F05-0C51-4000-B84F-1500068FB5A3");
    fwtest::ImageFolder images;
    const QString path = images.write(QStringLiteral("image.txt"), fwtest::mouseFile(fwtest::lines(300)));
    facade.setFirmwareImagePaths([path] { return path; }, {});
    const int acks = mouse.acknowledgements;
    {
        // The mouse's bootloader answers its firmware characteristic; the mouse itself
        // keeps answering its commands (the parser's acknowledgements).
        const auto mouseWrites = adapter.onWrite;
        sim::SimBleBootloader boot(adapter, sim::SimBleMouse::kId, sim::SimBleMouse::kOtaWrite, otaNotify);
        boot.device().setReference(fwtest::values(300));
        const auto bootWrites = adapter.onWrite;
        adapter.onWrite = [mouseWrites, bootWrites](const FakeBleAdapter::Write &w) {
            mouseWrites(w);
            bootWrites(w);
        };
        facade.sendStartOTAData();
        sched.advance(50);
        EXPECT_EQ(boot.device().result(), sim::FirmwareBootloader::Result::Success);
        EXPECT_EQ(boot.device().received(), fwtest::values(300));
        adapter.onWrite = mouseWrites; // the bootloader goes with the restart
    }
    EXPECT_EQ(notes.count(notify::kUpdateOTASuccessNotification), 1);
    EXPECT_EQ(notes.count(notify::kUpdateOTAFailNotification), 0);
    EXPECT_EQ(mouse.acknowledgements, acks + 5); // start, three packets, image
    EXPECT_EQ(adapter.callCount("cancel("), 1);
    EXPECT_FALSE(bleMgr.firmwareTransfer().isOTATransferActive());
    // Scanning again: the mouse is found and connected once it advertises.
    ASSERT_TRUE(adapter.advertise(sim::SimBleMouse::kId));
    sched.advance(50);
    EXPECT_EQ(central->stateNOW(), QXBLEManager::kStateConnected);
    EXPECT_TRUE(state->bleConnect());
    sched.advance(2000);
    EXPECT_EQ(notes.count(notify::kUpdateOTASuccessNotification), 1);
    EXPECT_EQ(adapter.callCount("cancel("), 1);
}

} // namespace
