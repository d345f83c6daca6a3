// The root by area: every key and voice flag has one holder that each layer reads and
// writes, and the device area alone (before the voice area plugs in, or after it went)
// drops its events upward instead of reaching a pipeline that is not there.
#include "AppWorld.h"

#include "HIDDevice.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXMouseCommandManager.h"
#include "asr/QXAudioMonitorService.h"

namespace {

class House50 : public AppTest {};

TEST_F(House50, EachFlagHasOneHolderThatEveryLayerReads)
{
    AppWorld world;
    CompanionApp app(world.options());
    VoiceKeyState &keys = app.keyState();
    QXHidCommandManager &hid = QXHidCommandManager::sharedInstance();
    QXBLEMouseCommandManager &ble = QXBLEMouseCommandManager::sharedInstance();

    // The device's stream: whichever manager writes it, the facade and the other see it.
    hid.setIsStartVoice(true);
    EXPECT_TRUE(keys.isStartVoice() && ble.isStartVoice() && QXMouseCommandManager::sharedInstance().isStartVoice());
    ble.setIsStartVoice(false);
    EXPECT_FALSE(keys.isStartVoice() || hid.isStartVoice());

    // The pending press type of either transport; the dispatcher's cancel clears it
    // with its own.
    hid.setPressType(37);
    keys.setPressType(37);
    EXPECT_EQ(ble.pressType(), 37);
    app.voiceKeys().cancelAsr();
    EXPECT_EQ(keys.pressType(), 0);
    EXPECT_EQ(keys.devicePressType(), 0);
    EXPECT_EQ(hid.pressType(), 0);

    // The reader's last key, which the transport clears.
    app.hid().setPressType(33);
    EXPECT_EQ(keys.readerPressType(), 33);
}

TEST_F(House50, DeviceEventsWithoutTheVoiceAreaAreDroppedAndNamedInTheHooks)
{
    AppWorld world;
    CoreAssembly core({&world.store, &world.secrets, false});
    DeviceAssembly device(core, {&world.bus, world.adapter.factory()});
    const DeviceSeams &seams = device.seams();
    seams.voice->hidCallbackType(33);
    seams.voice->cancelAsr();
    seams.tips->showTipMessage(QStringLiteral("tip"), QStringLiteral("info_icon"));
    EXPECT_EQ(seams.speech->fileHandle(), nullptr);
    HookStates hooks;
    device.listHooks(hooks);
    for (const char *port : {"DeviceAssembly.ports.voice", "DeviceAssembly.ports.speech", "DeviceAssembly.ports.tips"})
        EXPECT_TRUE(hooks.emptyNames().contains(QLatin1String(port))) << port;
}

} // namespace
