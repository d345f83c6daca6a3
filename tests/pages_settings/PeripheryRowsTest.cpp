// The rows no page shows (low-battery reminder, launch at login, problem detection,
// voice broadcast) over PageWorld's recorders, and the launch-at-login row over real
// autostart files.
#include "BootupView.h"
#include "PageWorld.h"
#include "ProblemDetectionView.h"
#include "QXLowPowerRemindSettingView.h"
#include "QXUserInfoData.h"
#include "VoiceBroadcastView.h"
#include "controls/OnlyIntegerValueFormatter.h"
#include "controls/QXButton.h"
#include "controls/QXTextField.h"
#include "launch/StartAtLoginController.h"
#include "platform/linux/XdgAutostartLoginItems.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString image(const QXButton *b)
{
    return b->property("imageName").toString();
}
const QString kOn = QStringLiteral("2_switch_on_icon");
const QString kOff = QStringLiteral("2_switch_off_icon");
} // namespace

TEST(Pgs7LowPowerRow, EditsStoreAtOnceLeavingWithOneOrLessGivesFiveAndOtherTextBeeps)
{
    const struct Row {
        const char *typed;
        bool pasted;
        qint64 whileEditing;
        const char *shown;
        qint64 stored;
        int beeps;
    } rows[] = {
        {"", false, 0, "5", 5, 0},
        {"1", false, 1, "5", 5, 0},
        {"2", false, 2, "2", 2, 0},
        {"150", false, 150, "150", 150, 0},
        {"-3", true, -3, "5", 5, 0},
        {"2a", false, 2, "2", 2, 1},
        {"-", false, 0, "5", 5, 1},
        {"12a", true, 0, "5", 5, 1},
        // past 64 bits: typed, the 19th and 20th digits are refused; pasted, the whole text
        {"99999999999999999999", false, 999999999999999999, "999999999999999999", 999999999999999999, 2},
        {"99999999999999999999", true, 0, "5", 5, 1},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.typed);
        PageWorld world;
        QXLowPowerRemindSettingView row(world.context());
        EXPECT_EQ(row.timeField()->text(), "10");
        int beeps = 0;
        row.formatter()->setBeep([&] { ++beeps; });
        row.timeField()->selectAll();
        QTest::keyClick(row.timeField(), Qt::Key_Backspace);
        if (r.pasted) {
            QGuiApplication::clipboard()->setText(QString::fromLatin1(r.typed));
            QTest::keyClick(row.timeField(), Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClicks(row.timeField(), QString::fromLatin1(r.typed));
        }
        EXPECT_EQ(world.state().lowPowerNum(), r.whileEditing);
        QTest::keyClick(row.timeField(), Qt::Key_Return);
        EXPECT_EQ(row.timeField()->text(), QString::fromLatin1(r.shown));
        EXPECT_EQ(world.state().lowPowerNum(), r.stored);
        EXPECT_EQ(beeps, r.beeps);
    }
}

TEST(Pgs7BootupRow, TheFirstBuildTurnsStartAtLoginOnAndARefusedChangeIsUndone)
{
    const struct Row {
        std::optional<bool> stored;
        bool loginItem, accepts;
        QString shown;
        std::optional<bool> storedAfter;
    } rows[] = {
        {std::nullopt, false, true, kOn, true},           // enabled, shown on and stored
        {std::nullopt, true, true, kOff, std::nullopt},   // already a login item: shown off, nothing stored
        {std::nullopt, false, false, kOff, std::nullopt}, // refused: off, nothing stored, asked again next time
        {true, false, true, kOn, true},
        {false, true, true, kOff, false},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.loginItem << r.accepts);
        PageWorld world;
        if (r.stored == true)
            world.state().setBootUpSwitch(true);
        else if (r.stored == false) // the held value is already off: written as it stands
            world.data.store().setValue(QStringLiteral("bootUpSwitchKey"), false);
        world.startAtLogin.on = r.loginItem;
        world.startAtLogin.accepts = r.accepts;
        BootupView row(world.context());
        EXPECT_EQ(image(row.switchBtn()), r.shown);
        const QVariant after = world.data.store().value(QStringLiteral("bootUpSwitchKey"));
        EXPECT_EQ(after.isValid() ? std::optional(after.toBool()) : std::nullopt, r.storedAfter);
        EXPECT_TRUE(world.log.calls.isEmpty());
    }

    // A click changes the desktop's entry only; a refused one is put back, with the alert.
    PageWorld world;
    world.state().setBootUpSwitch(true);
    world.startAtLogin.on = true;
    BootupView row(world.context());
    row.switchBtn()->click();
    EXPECT_FALSE(world.startAtLogin.on);
    EXPECT_EQ(image(row.switchBtn()), kOff);
    EXPECT_TRUE(world.state().bootUpSwitch());
    world.startAtLogin.accepts = false;
    row.switchBtn()->click();
    EXPECT_EQ(image(row.switchBtn()), kOff);
    EXPECT_FALSE(row.switchBtn()->isChecked());
    EXPECT_EQ(world.log.calls, QStringList{"showErrorMsg(请求失败,)"});
}

// Over the real autostart files: a malformed entry reads as off, so the first build
// writes a sound one; a click removes it.
TEST(Pgs7BootupRowReal, TheAutostartEntryIsCreatedAndRemoved)
{
    QTemporaryDir dir;
    const QByteArray oldHome = qgetenv("XDG_CONFIG_HOME"), oldDirs = qgetenv("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(dir.filePath(QStringLiteral("system"))));
    const QString entry = dir.filePath(QStringLiteral("config/autostart/com.quorvex.HelperApp.desktop"));
    QDir().mkpath(QFileInfo(entry).path());
    QFile malformed(entry);
    ASSERT_TRUE(malformed.open(QIODevice::WriteOnly));
    malformed.write("[Desktop Entry\nExec=\n\xff\xfe");
    malformed.close();

    platform::linuxbackend::XdgAutostartLoginItems items{QStringLiteral("Zandor")};
    StartAtLoginController controller{items};
    controller.setBundle(QStringLiteral("com.quorvex.HelperApp"), QStringLiteral("/opt/zandor/bin/quorvex-companion"));
    EXPECT_FALSE(controller.startAtLogin());

    PageWorld world;
    const PageContext c = world.context();
    const PageContext context{c.state,
                              c.store,
                              c.languages,
                              c.notifications,
                              c.scheduler,
                              c.device,
                              c.hidCommands,
                              c.firmware,
                              c.receiver,
                              c.api,
                              c.images,
                              c.aiWindow,
                              c.translate,
                              c.tips,
                              c.alerts,
                              c.errorAlert,
                              c.permissionsWindow,
                              c.shell,
                              controller,
                              c.shortcuts,
                              c.workspace,
                              c.commands,
                              c.commandDialogs,
                              c.files,
                              c.accountHeaders,
                              c.hotWords,
                              c.makeTransferAudioView};
    BootupView row(context);
    EXPECT_EQ(image(row.switchBtn()), kOn);
    EXPECT_TRUE(controller.startAtLogin());
    EXPECT_TRUE(QFile::exists(entry));
    row.switchBtn()->click();
    EXPECT_FALSE(controller.startAtLogin());
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_EQ(image(row.switchBtn()), kOff);
    EXPECT_TRUE(world.log.calls.isEmpty());

    qputenv("XDG_CONFIG_HOME", oldHome);
    qputenv("XDG_CONFIG_DIRS", oldDirs);
}

TEST(Pgs7SwitchRows, BuildingWritesNothingAndEachClickStores)
{
    PageWorld world;
    const QStringList before = world.data.store().keys();
    {
        ProblemDetectionView problems(world.context());
        VoiceBroadcastView broadcast(world.context());
        EXPECT_EQ(problems.viewHeight(), 138);
        EXPECT_EQ(broadcast.viewHeight(), 55);
        EXPECT_EQ(image(problems.checkMicBtn()), kOff);
        EXPECT_EQ(image(broadcast.switchBtn()), kOff);
        EXPECT_EQ(world.data.store().keys(), before);

        problems.checkMicBtn()->click();
        broadcast.switchBtn()->click();
        EXPECT_TRUE(world.state().checkMicSwitch());
        EXPECT_TRUE(world.state().voiceBroadcastSwitch());
        // The microphone check is held in memory only.
        QStringList written = world.data.store().keys();
        EXPECT_TRUE(written.removeOne(QStringLiteral("voiceBroadcastSwitchKey")));
        EXPECT_EQ(written, before);
        EXPECT_TRUE(world.data.store().value(QStringLiteral("voiceBroadcastSwitchKey")).toBool());
    }
    // Rows built afterwards show what was set.
    ProblemDetectionView problems(world.context());
    VoiceBroadcastView broadcast(world.context());
    EXPECT_EQ(image(problems.checkMicBtn()), kOn);
    EXPECT_EQ(image(broadcast.switchBtn()), kOn);
    broadcast.switchBtn()->click();
    EXPECT_FALSE(world.data.store().value(QStringLiteral("voiceBroadcastSwitchKey")).toBool());
}
