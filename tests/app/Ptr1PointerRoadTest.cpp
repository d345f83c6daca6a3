// The presentation pointer as the application wires it: a pointer receiver's keys,
// read by the real transport and report parser, drive the pointer manager through its
// modes, and the receiver hears the mode commands.
#include "AppWorld.h"

#include "HIDDevice.h"
#include "InstalledInstance.h"
#include "QXLaserPenManager.h"
#include "QXUserInfoData.h"
#include "root/DeviceAssembly.h"

using Role = SimulatedReceiver::Role;

namespace {

class Ptr1PointerRoad : public AppTest {};

TEST_F(Ptr1PointerRoad, ReceiverKeysStepTheModesAndShowTheEffects)
{
    AppWorld world;
    CompanionApp app(world.options());
    app.configData();
    QXLaserPenManager &pen = *InstalledInstance<QXLaserPenManager>::installed();
    ASSERT_EQ(app.seams().laserPen, &pen);

    SimulatedReceiver rx(world.bus, row(15), {}); // 0x248A/0x8373, a Telink pointer
    rx.plugIn();
    settle();
    ASSERT_EQ(app.state().mouseInfoItem().deviceType(), 5u);
    EXPECT_EQ(pen.laserPenStatus(), 0); // this receiver does not ask for the first mode
    scheduler.advance(5000);
    rx.clearWritten();

    // The pointer's keys come as its short framed replies (4d 13 <code>): 0x90 the mode
    // key, 0x92 the effect key (a toggle), 0x93 its release.
    const auto key = [&](int code) {
        const char bytes[] = {0x4d, 0x13, char(code), 0, 0, 0, 0, 0};
        ASSERT_TRUE(rx.sendInput(Role::Command, QByteArray(bytes, sizeof bytes)));
        settle();
    };
    const auto heardNow = [&] {
        settle();
        scheduler.advance(10 * HIDDevice::kPacingMs);
        // The pointer's commands, not the acknowledgements and polls around them.
        const QStringList out = heard(rx, int(app.state().chipPlan())).filter(QStringLiteral("LaserPen"));
        rx.clearWritten();
        return out;
    };

    key(0x90); // the mode key: the first press goes on from the first mode, to the light spot
    EXPECT_EQ(pen.laserPenStatus(), 2);
    heardNow();
    key(0x92); // the effect shows ...
    scheduler.advance(QXLaserPenManager::kDeviceDelayMs);
    EXPECT_TRUE(pen.hasShowEffecf());
    // (The dismiss's and the deferred laser-off wait together in the transport's pacing
    // and go out once.)
    EXPECT_EQ(heardNow(), QStringList{"sendTelinkLaserPenCloseHardLaserData"});
    key(0x93); // ... and goes
    EXPECT_FALSE(pen.hasShowEffecf());
    EXPECT_EQ(heardNow(), QStringList{"sendTelinkLaserPenCloseHardLaserData"});

    for (int status : {3, 4, 0}) {
        key(0x90);
        EXPECT_EQ(pen.laserPenStatus(), status);
    }
    heardNow();
    key(0x92); // the receiver's own laser
    scheduler.advance(QXLaserPenManager::kDeviceDelayMs);
    EXPECT_EQ(heardNow(), (QStringList{"sendTelinkLaserPenCloseHardLaserData", "sendTelinkLaserPenOpenHardLaserData"}));
    key(0x90);
    ASSERT_EQ(pen.laserPenStatus(), 1);

    // The receiver goes while an effect shows: the effect ends with it.
    key(0x92);
    scheduler.advance(QXLaserPenManager::kDeviceDelayMs);
    ASSERT_TRUE(pen.hasShowEffecf());
    rx.unplug();
    settle();
    EXPECT_FALSE(pen.hasShowEffecf());
    EXPECT_EQ(app.keyState().vioceMode(), 1);
}

} // namespace
