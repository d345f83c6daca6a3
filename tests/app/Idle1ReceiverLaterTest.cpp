// A launch without a device does only what a tray icon needs; a receiver plugged in
// afterwards still gets everything the launch does with one present.
#include "AppWorld.h"

#include "FakeDesktop.h"

#include "HIDDevice.h"
#include "QXUserInfoData.h"
#include "platform/IDefaultInputSwitcher.h"
#include "sqlite/WQSSqliteOperation.h"

#include <mutex>

using Role = SimulatedReceiver::Role;

namespace {

constexpr int kPlan2Row = 9; // 0x3151/0x22AB: key setting, connection poll

// The switch runs on a thread of its own.
class RecordingInputSwitcher final : public platform::IDefaultInputSwitcher {
public:
    platform::InputSwitch setByName(const QString &name) override
    {
        std::lock_guard lock(m_mutex);
        m_names << name;
        return platform::InputSwitch::Changed;
    }
    QStringList names() const
    {
        std::lock_guard lock(m_mutex);
        return m_names;
    }

private:
    mutable std::mutex m_mutex;
    QStringList m_names;
};

struct Outcome {
    QStringList inputs;
    bool tables = false;
    int monitors = 0;
    QStringList heard;
    qint64 chipPlan = 0;
    bool keySetting = false;
    bool operator==(const Outcome &) const = default;
};

class Idle1ReceiverLater : public AppTest {
protected:
    static bool tablesExist()
    {
        for (const char *table : {"DBCommonCmdList", "DBCustomizeCmdList"}) {
            QString error;
            WQSSqliteOperation::shareOperation().selectAllDataBaseWithtableName(QString::fromLatin1(table), &error);
            if (!error.isEmpty())
                return false;
        }
        return true;
    }

    Outcome run(bool receiverAtLaunch)
    {
        AppWorld world;
        FakeDesktop desktop;
        RecordingInputSwitcher input;
        SimulatedReceiver rx(world.bus, row(kPlan2Row), {});
        Outcome out;
        {
            CompanionApp::Options options = world.options();
            options.defaultInput = &input;
            CompanionApp app(options);
            if (receiverAtLaunch)
                rx.plugIn();
            app.configData();
            settle();
            if (!receiverAtLaunch) {
                scheduler.advance(60000);
                EXPECT_TRUE(input.names().isEmpty()) << "the default input was switched with no receiver";
                EXPECT_FALSE(tablesExist()) << "the command tables were made with no receiver";
                rx.plugIn();
                settle();
            }
            // The receiver answers the device-information request: the profile follows.
            rx.sendInput(Role::Command, QByteArray::fromHex("0d5a4d6900").leftJustified(64, '\0'));
            settle();
            scheduler.advance(10 * HIDDevice::kPacingMs);
            out.tables = tablesExist();
            out.monitors = int(desktop.mouseMonitor.installed.size());
            out.heard = heard(rx, 2);
            out.chipPlan = app.state().chipPlan();
            out.keySetting = app.state().isSupportKeySetting();
        }
        out.inputs = input.names(); // the switch's thread is joined with the application
        return out;
    }
};

TEST_F(Idle1ReceiverLater, AReceiverPluggedInAfterAnIdleLaunchGetsWhatTheLaunchGivesOne)
{
    const Outcome atLaunch = run(true);
    const Outcome later = run(false);
    EXPECT_EQ(atLaunch.inputs, QStringList{"Quorvex"});
    EXPECT_TRUE(atLaunch.tables);
    EXPECT_GT(atLaunch.monitors, 0);
    EXPECT_EQ(atLaunch.chipPlan, 2);
    EXPECT_EQ(later.inputs, atLaunch.inputs);
    EXPECT_EQ(later.tables, atLaunch.tables);
    EXPECT_EQ(later.monitors, atLaunch.monitors);
    EXPECT_EQ(later.heard, atLaunch.heard);
    EXPECT_EQ(later.chipPlan, atLaunch.chipPlan);
    EXPECT_EQ(later.keySetting, atLaunch.keySetting);
}

} // namespace
