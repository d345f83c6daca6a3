#include "BleFrames.h"
#include "ConnectedBleMouse.h"
#include "FrameDecoder.h"
#include "ManualScheduler.h"
#include "QXBLEMouseCommandManager.h"
#include "RecordingHidSink.h"
#include "ScopedUserInfoData.h"

#include <gtest/gtest.h>

#include <functional>

using platform::BleWriteMode;

namespace {

const QString kWrite = ConnectedBleMouse::kWrite;
const QString kOtaWrite = ConnectedBleMouse::kOtaWrite;

using B = QXBLEMouseCommandManager;

// A mouse connected over the fake adapter: every frame reaches it as a GATT write.
class BleCommands : public ::testing::Test {
protected:
    ManualScheduler sched;
    ScopedUserInfoData state;
    ConnectedBleMouse ble;
    FakeBleAdapter &adapter = ble.adapter;
    RecordingHidSink hid;
    B mgr{ble.central.get(), &hid};

    void connect() { ble.connect(sched); }
};

TEST_F(BleCommands, GoldenFramesOnTheirCharacteristics)
{
    connect();
    const struct {
        const char *what;
        std::function<void(B &)> send;
        const char *hex;
        bool firmware; // firmware characteristic, written without response
        const char *decoded;
    } rows[] = {
        {"ack", &B::sendGetReceiveData, "4d04104c", false, "sendGetReceiveData"},
        {"key", [](B &m) { m.sendKeyCommandDataKeyCode1(8, 25); }, "4d062008194c", false, "sendKeyCommandDataKeyCode1"},
        {"burner", [](B &m) { m.sendSetBurnerInfoPID(0x22ab, 0x3151, 1, 2, 0x38, 1); },
         "4d0c21ab22513101023801"
         "4c",
         false, "sendSetBurnerInfoPID"},
        {"info", &B::sendGetMouseInfoData, "4d04614c", false, "sendGetMouseInfoData"},
        {"mic open", &B::sendOpenMicData, "4d04624c", false, "sendOpenMicData"},
        {"mic close", &B::sendCloseMicData, "4d04634c", false, "sendCloseMicData"},
        {"led on", &B::sendOpenLedData, "4d04644c", false, "sendOpenLedData"},
        {"led off", &B::sendCloseLedData, "4d04654c", false, "sendCloseLedData"},
        {"pop-up open", &B::sendOpenPopUpWebSiteData, "4d04664c", false, "sendOpenPopUpWebSiteData"},
        {"pop-up close", &B::sendClosePopUpWebSiteData, "4d04674c", false, "sendClosePopUpWebSiteData"},
        {"dpi 3", [](B &m) { m.sendSetDpiData(3); }, "4d0568034c", false, "sendSetDpiData"},
        {"dpi 300 low byte", [](B &m) { m.sendSetDpiData(300); }, "4d05682c4c", false, "sendSetDpiData"},
        {"rgb logo on", &B::sendOpenRGBLogoLEDData, "4d04814c", false, "sendOpenRGBLogoLEDData"},
        {"rgb logo off", &B::sendCloseRGBLogoLEDData, "4d04824c", false, "sendCloseRGBLogoLEDData"},
        {"mode read", &B::sendGetLightingEffectsModeData, "4d04834c", false, "sendGetLightingEffectsModeData"},
        {"mode set", [](B &m) { m.sendSetLightingEffectsModeData(1); }, "4d0584014c", false,
         "sendSetLightingEffectsModeData"},
        {"brightness read", &B::sendGetLightingEffectsBrightnessData, "4d04854c", false,
         "sendGetLightingEffectsBrightnessData"},
        {"brightness set", [](B &m) { m.sendSetLightingEffectsBrightnessData(3); }, "4d0586034c", false,
         "sendSetLightingEffectsBrightnessData"},
        {"speed read", &B::sendGetLightingEffectsSpeedData, "4d04874c", false, "sendGetLightingEffectsSpeedData"},
        {"speed set", [](B &m) { m.sendSetLightingEffectsSpeedData(2); }, "4d0588024c", false,
         "sendSetLightingEffectsSpeedData"},
        {"colour read", &B::sendGetLightingEffectsColorData, "4d04894c", false, "sendGetLightingEffectsColorData"},
        {"colour set 260", [](B &m) { m.sendSetLightingEffectsColorData(260); }, "4d058a044c", false,
         "sendSetLightingEffectsColorData"},
        {"hand read", &B::sendGetMouseLeftOrRightHandBehavior, "4d048b4c", false,
         "sendGetMouseLeftOrRightHandBehavior"},
        {"hand set", [](B &m) { m.sendSetMouseLeftOrRightHandBehaviorData(1); }, "4d058c014c", false,
         "sendSetMouseLeftOrRightHandBehaviorData"},
        {"firmware start", &B::sendStartOTAData, "4d04704c", true, "sendStartOTAData"},
        {"firmware cancel", &B::sendCancelOTAData, "4d04744c", true, "sendCancelOTAData"},
        {"firmware end",
         [](B &m) {
             m.setOtaDataTotalLength(300);
             m.setOtaDataChecksum(33586);
             m.sendEndOTAData();
         },
         "4d0c722c010000328300004c", true, "sendEndOTAData"},
        {"firmware end keeps the low 32 bits",
         [](B &m) {
             m.setOtaDataTotalLength(0x1'0000'012cLL);
             m.setOtaDataChecksum(-1);
             m.sendEndOTAData();
         },
         "4d0c722c010000ffffffff4c", true, "sendEndOTAData"},
    };
    for (const auto &r : rows) {
        adapter.writes.clear();
        r.send(mgr);
        ASSERT_EQ(adapter.writes.size(), 1) << r.what;
        const FakeBleAdapter::Write &w = adapter.writes.first();
        EXPECT_EQ(w.data.toHex(), QByteArray(r.hex)) << r.what;
        EXPECT_EQ(w.characteristic.characteristic.toUpper(), r.firmware ? kOtaWrite : kWrite) << r.what;
        EXPECT_EQ(w.mode, r.firmware ? BleWriteMode::WithoutResponse : BleWriteMode::WithResponse) << r.what;
        const auto d = sim::FrameDecoder::decodeBle(w.data);
        ASSERT_TRUE(d.has_value()) << r.what;
        EXPECT_EQ(d->command, QString::fromLatin1(r.decoded)) << r.what;
    }
    EXPECT_TRUE(hid.reports.isEmpty());
}

TEST_F(BleCommands, LaserPenCommandsGoOverHidInThePlan2Layout)
{
    connect();
    state->setChipPlan(2); // what the shell sets while a Bluetooth LE mouse is connected
    mgr.sendLaserPenShakeEffectData(2.55);
    mgr.sendLaserPenModeData(3);
    mgr.sendLaserPenQuitMouseStatusData();
    mgr.sendLaserPenEnterMouseStatusData();
    mgr.sendLaserPenDpiData(0x105);
    const QList<QByteArray> expected{RecordingHidSink::R(64, "0da54d06a919004c"),
                                     RecordingHidSink::R(64, "0da54d05aa034c"), RecordingHidSink::R(64, "0da54d04ac4c"),
                                     RecordingHidSink::R(64, "0da54d04ab4c"),
                                     RecordingHidSink::R(64, "0da54d05a8054c")};
    EXPECT_EQ(hid.reports, expected);
    EXPECT_TRUE(adapter.writes.isEmpty());

    // Whatever device family the state says: still the plan-2 frame.
    hid.reports.clear();
    state->setChipPlan(6);
    mgr.sendLaserPenModeData(3);
    ASSERT_EQ(hid.reports.size(), 1);
    EXPECT_TRUE(hid.reports.first().startsWith(QByteArray::fromHex("0da54d05aa034c")));
}

TEST_F(BleCommands, WithoutAPeripheralEverythingIsLostQuietly)
{
    // Nothing connected: the central drops data and firmware frames alike.
    mgr.sendSetDpiData(3);
    mgr.sendStartOTAData();
    mgr.sendEndOTAData();
    EXPECT_TRUE(adapter.writes.isEmpty());
    // The laser pen still goes to the HID side, which drops it with no receiver open.
    hid.deviceOpen = false;
    mgr.sendLaserPenModeData(1);
    EXPECT_TRUE(hid.reports.isEmpty());
    mgr.setHidSink(nullptr);
    mgr.sendLaserPenModeData(1); // no HID layer at all
}

TEST(BleFramePieces, LengthsAndTruncation)
{
    using proto::BleCommand;
    // The length byte counts the whole frame.
    for (auto c : {BleCommand::GetReceive, BleCommand::SetDpi, BleCommand::KeyCommand, BleCommand::SetBurnerInfo,
                   BleCommand::EndOTA}) {
        const QByteArray f = proto::bleFrame(c, {1, 2, 3, 4, 5, 6}).bytes;
        EXPECT_EQ(uint8_t(f[1]), f.size());
        EXPECT_EQ(uint8_t(f.back()), 0x4c);
    }
    EXPECT_EQ(proto::bleFrame(BleCommand::SetDpi, {-1}).bytes.toHex(), "4d0568ff4c");
    EXPECT_EQ(proto::bleFrame(BleCommand::SetDpi).bytes.toHex(), "4d0568004c"); // a missing argument is 0
    EXPECT_EQ(proto::bleFrame(BleCommand::SetBurnerInfo, {0x12345, 0x3151, 0x101, 2, 0x38, 1}).bytes.toHex(),
              "4d0c2145235131010238014c");
    // Reads are odd, writes even, over the five lighting and hand pairs.
    const std::pair<BleCommand, BleCommand> pairs[] = {
        {BleCommand::GetLightingEffectsMode, BleCommand::SetLightingEffectsMode},
        {BleCommand::GetLightingEffectsBrightness, BleCommand::SetLightingEffectsBrightness},
        {BleCommand::GetLightingEffectsSpeed, BleCommand::SetLightingEffectsSpeed},
        {BleCommand::GetLightingEffectsColor, BleCommand::SetLightingEffectsColor},
        {BleCommand::GetMouseLeftOrRightHandBehavior, BleCommand::SetMouseLeftOrRightHandBehavior},
    };
    int code = 0x83;
    for (const auto &[get, set] : pairs) {
        EXPECT_EQ(uint8_t(proto::bleFrame(get).bytes[2]), code);
        EXPECT_EQ(uint8_t(proto::bleFrame(set, {0}).bytes[2]), code + 1);
        code += 2;
    }
}

} // namespace
