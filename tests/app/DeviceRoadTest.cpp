// The device layers as the composition root connects them: no hook that a unit test
// fills with a fake is left empty in the application, the hot keys and the serial rule
// reach the receiver, plan-7 voice sets the recordings' rate, and the devices' own
// behaviour holds end to end (shortened Bluetooth LE names, every voice-chip piece,
// a receiver that echoes another packet index).
#include "AppWorld.h"

#include "FakeGlobalShortcuts.h"
#include "LocalHttpServer.h"
#include "NotificationNames.h"
#include "NotificationRecorder.h"
#include "SimBleMouse.h"
#include "SimFirmwareBootloader.h"
#include "firmware/FirmwareTestImages.h"

#include "FamilyTraits.h"
#include "HIDDevice.h"
#include "QXMouseCommandManager.h"
#include "QXToolManager.h"
#include "QXUserInfoData.h"
#include "platform/PlatformServices.h"
#include "services/VoiceKeyState.h"
#include "tools/WavFormat.h"

#include <QRegularExpression>
#include <QScopeGuard>

using Role = SimulatedReceiver::Role;

namespace {

constexpr int kMacF1 = 122;

QByteArray R(int n, const char *hex)
{
    QByteArray r = QByteArray::fromHex(hex);
    r.append(QByteArray(n - r.size(), '\0'));
    return r;
}

class AppDeviceRoad : public AppTest {
protected:
    // The receiver's commands, once the transport's pacing has let them all out.
    QStringList heardAfterPacing(SimulatedReceiver &rx, int plan)
    {
        settle();
        scheduler.advance(10 * HIDDevice::kPacingMs);
        const QStringList out = heard(rx, plan);
        rx.clearWritten();
        return out;
    }
};

const CompanionApp::EmptyOnPurpose *listedAsEmpty(const QString &hook)
{
    for (const CompanionApp::EmptyOnPurpose &row : CompanionApp::emptyOnPurpose())
        if (QRegularExpression::fromWildcard(QString::fromLatin1(row.pattern)).match(hook).hasMatch())
            return &row;
    return nullptr;
}

TEST_F(AppDeviceRoad, EveryHookOfTheDeviceLayersIsConnectedButTheListedOnes)
{
    AppWorld world;
    CompanionApp app(world.options());
    app.configData();
    settle();
    const HookStates hooks = app.hookStates();
    QStringList forgotten, stale, objects;
    QSet<const CompanionApp::EmptyOnPurpose *> used;
    for (const HookStates::Hook &h : hooks.hooks()) {
        objects << h.name.section(QLatin1Char('.'), 0, 0);
        const CompanionApp::EmptyOnPurpose *row = listedAsEmpty(h.name);
        if (row)
            used.insert(row);
        if (!h.connected && !row)
            forgotten << h.name;
        if (h.connected && row)
            stale << h.name + QStringLiteral(" (listed as ") + QLatin1String(row->pattern) + QLatin1Char(')');
    }
    EXPECT_TRUE(forgotten.isEmpty()) << "empty, and not listed as empty on purpose: "
                                     << forgotten.join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(stale.isEmpty()) << "connected now, so no longer empty on purpose: "
                                 << stale.join(QStringLiteral(", ")).toStdString();
    // A row matches hooks of the graph, or names an object the root does not build.
    for (const CompanionApp::EmptyOnPurpose &row : CompanionApp::emptyOnPurpose()) {
        const QString object = QString::fromLatin1(row.pattern).section(QLatin1Char('.'), 0, 0);
        EXPECT_TRUE(used.contains(&row) || (object != QLatin1String("*") && !objects.contains(object)))
            << row.pattern << " matches nothing";
    }
    EXPECT_GT(hooks.hooks().size(), 70u);
}

TEST_F(AppDeviceRoad, HotKeysSwitchTheReceiversMicrophoneAndTheSerialRuleSetsItsDpi)
{
    FakeGlobalShortcuts keys;
    platform::PlatformServices fakes;
    fakes.shortcuts = &keys;
    const platform::PlatformServices previous = platform::installServices(fakes);
    {
        AppWorld world;
        CompanionApp app(world.options());
        app.configData();
        SimulatedReceiver rx(world.bus, row(12), {}); // 0x3151/0x20AB: hot keys, plan 2
        rx.plugIn();
        settle();
        ASSERT_EQ(app.state().chipPlan(), 2);
        ASSERT_TRUE(keys.isGrabbed(kMacF1));
        app.state().setSno(QStringLiteral("QX-0001")); // the device profile names the mouse
        scheduler.advance(5000);                       // what the open asks for has gone out
        rx.clearWritten();
        ASSERT_TRUE(keys.press(kMacF1));
        // (No speech service listens here: the failed connection closes it again.)
        EXPECT_EQ(heardAfterPacing(rx, 2).value(0), QStringLiteral("sendOpenMicData"));
        app.keyState().setHadStart(true); // the voice input runs: the same key ends it
        ASSERT_TRUE(keys.press(kMacF1));
        // The key closes it first; the dispatcher's end of the input may close it again.
        const QStringList closing = heardAfterPacing(rx, 2);
        EXPECT_EQ(closing.value(0), QStringLiteral("sendCloseMicData")) << closing.join(",").toStdString();
        EXPECT_FALSE(closing.contains(QStringLiteral("sendOpenMicData")));
        rx.unplug();
        settle();

        // A plan-1 receiver whose mouse has the fixed sensor: its first information
        // report sets DPI index 3, which this family receives as a zero report.
        SimulatedReceiver plain(world.bus, row(1), {});
        plain.plugIn();
        settle();
        ASSERT_EQ(app.state().chipPlan(), 1);
        app.state().mouseInfoItem().setSn(QStringLiteral("X2020050100008Y"));
        app.state().setIsNeedMouseInfo(false);
        plain.clearWritten();
        ASSERT_TRUE(plain.sendInput(Role::Command, QByteArray::fromHex("0d0164012104010002")));
        EXPECT_EQ(heardAfterPacing(plain, 1), QStringList{"zeroReport"});
        EXPECT_EQ(app.state().mouseInfoItem().icType(), 5u);
    }
    platform::installServices(previous);
}

TEST_F(AppDeviceRoad, Plan7VoiceSetsTheRecordingsRate)
{
    AppWorld world;
    CompanionApp app(world.options());
    app.configData();
    app.state().setSamplingRate(1);               // left by an earlier device
    SimulatedReceiver rx(world.bus, row(28), {}); // 0x248A/0x67AC
    rx.plugIn();
    settle();
    ASSERT_EQ(app.state().chipPlan(), 7);
    ASSERT_TRUE(rx.sendInput(Role::Command, R(21, "a6034d6200"))); // voice start
    ASSERT_TRUE(rx.sendInput(Role::Command, R(64, "a5000000"
                                                  "1003e8")));
    EXPECT_EQ(app.state().samplingRate(), 0);
    EXPECT_EQ(wavSampleRate(QXToolManager::currentWavRateInputs()), 8000);
    ASSERT_TRUE(rx.sendInput(Role::Command, R(64, "a5000080"
                                                  "1003e8")));
    EXPECT_EQ(app.state().samplingRate(), 1);
    EXPECT_EQ(wavSampleRate(QXToolManager::currentWavRateInputs()), 16000);
}

TEST_F(AppDeviceRoad, ShortenedNameEveryChipPieceAndAnUnechoedIndexWorkEndToEnd)
{
    LocalHttpServer vendor;
    ASSERT_TRUE(vendor.isListening());
    vendor.setHandler([](const HttpRequestRecord &) { return HttpScriptedReply::json(R"({"code":0})"); });
    qputenv("QX_CHIP_TOKEN_BASE", vendor.baseUrl().toUtf8());
    const auto restoreHost = qScopeGuard([] { qunsetenv("QX_CHIP_TOKEN_BASE"); });
    AppWorld world;
    FakeBleAdapter::Peripheral mouse = sim::SimBleMouse::peripheral();
    mouse.name = QStringLiteral("Quorvex Mo"); // the advertised name cut short
    world.adapter.addPeripheral(mouse);
    CompanionApp app(world.options());
    app.configData();
    NotificationRecorder notes;
    settle();

    // A following voice-chip piece without its first still asks the vendor for a token.
    {
        SimulatedReceiver keyboard(world.bus, row(23), {}); // 0x248A/0x61AB: plan 6
        keyboard.plugIn();
        settle();
        ASSERT_EQ(app.state().chipPlan(), 6);
        ASSERT_TRUE(keyboard.sendInput(Role::Command, R(21, "0c4e05026364")));
        EXPECT_TRUE(vendor.waitForRequests(1, 5000));
        EXPECT_EQ(app.state().IFlytekChip_AuthDataStr().value_or(QString()), QStringLiteral("cd"));
        keyboard.unplug();
        settle();
    }

    // The receiver echoes another index for its second packet: the transfer goes on and
    // the receiver's own verdict ends it.
    SimulatedReceiver rx(world.bus, row(9), {}); // 0x3151/0x22AB: plan 2
    rx.plugIn();
    settle();
    ASSERT_EQ(app.state().chipPlan(), 2);
    sim::FirmwareBootloader::Script script;
    script.wrongIndexAt = 2;
    sim::SimHidBootloader boot(rx, sim::FirmwareBootloader::Kind::Receiver, script);
    boot.device().setReference(fwtest::values(300));
    fwtest::ImageFolder folder;
    app.state().setDongleOTAFilePath(
        folder.write(QStringLiteral("dongle.txt"), fwtest::receiverFile(fwtest::lines(300))));
    notes.clear();
    QXMouseCommandManager::sharedInstance().sendStartOTADongleData();
    settle();
    scheduler.advance(5000);
    EXPECT_EQ(notes.count(QString::fromLatin1(qx::notify::kUpdateOTASuccessNotification)), 1);
    EXPECT_EQ(notes.count(QString::fromLatin1(qx::notify::kUpdateOTAFailNotification)), 0);
    EXPECT_EQ(boot.device().result(), sim::FirmwareBootloader::Result::Success);
    rx.unplug();
    settle();

    // With no receiver left, the mouse is found and connected over Bluetooth LE.
    world.adapter.advertise(mouse.id);
    settle();
    EXPECT_TRUE(app.state().bleConnect());
    EXPECT_GE(notes.count(QString::fromLatin1(qx::notify::kBleConnectNotification)), 1);
}

} // namespace
