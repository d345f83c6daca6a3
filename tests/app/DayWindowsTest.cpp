// The windows over a user's day, on two offscreen screens (1600 x 900 at the origin,
// 1920 x 1080 right of it).
#include "AppWorld.h"

#include "FakeAiWebHost.h"
#include "FakePermissionProbe.h"
#include "FakeScreenGrabber.h"
#include "QXLaserPenManager.h"
#include "ScopedUserInfoData.h"
#include "aiweb/QXAIWindowTool.h"
#include "windows/MainWindow.h"
#include "windows/QXAuthorityManagementWindowController.h"

#include <QCursor>
#include <QTest>

namespace {

class DayWindows : public AppTest {};

TEST_F(DayWindows, TheMainWindowComesBackFromMinimisedAndGoesWhileTheLoupeShows)
{
    AppWorld world;
    FakeScreenGrabber grabber;
    CompanionApp::Options options = world.options();
    options.screenGrabber = &grabber;
    CompanionApp app(options);
    app.configData();
    SimulatedReceiver mouse(world.bus, row(9), {});
    mouse.plugIn();
    settle();
    mouse.sendInput(SimulatedReceiver::Role::Command, QByteArray::fromHex("0d5a4d6900").leftJustified(64, '\0'));
    settle();
    scheduler.advance(1000); // the first connection opens the window by itself
    MainWindow &window = app.mainWindow();
    QWidget other;
    other.show();
    // The tray's "打开", then a second launch.
    for (const std::function<void()> &open :
         {std::function<void()>([&] { world.tray.click(0); }), std::function<void()>([&] { app.reopen(); })}) {
        window.showMinimized();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        open();
        EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    mouse.unplug();
    SimulatedReceiver pointer(world.bus, row(15), {});
    pointer.plugIn();
    settle();
    scheduler.advance(5000); // past what hides the window of a device not connected
    window.show();
    // 0x90 the mode key (twice from the start: the loupe), 0x92 the effect key, 0x93 its release.
    const auto keys = [&](std::initializer_list<char> codes) {
        for (char code : codes) {
            ASSERT_TRUE(pointer.sendInput(SimulatedReceiver::Role::Command,
                                          QByteArray("\x4d\x13", 2) + code + QByteArray(5, 0)));
            settle();
            scheduler.advance(QXLaserPenManager::kDeviceDelayMs);
        }
    };
    keys({'\x90', '\x90', '\x92'});
    EXPECT_FALSE(window.isVisible());
    keys({'\x93'});
    EXPECT_TRUE(window.isVisible());
    window.hide(); // closed by the user: it stays closed
    keys({'\x92', '\x93'});
    EXPECT_FALSE(window.isVisible());
}

TEST_F(DayWindows, WindowsWithNoPlaceOfTheirOwnOpenCentredOnThePointersScreen)
{
    ScopedUserInfoData state;
    FakePermissionProbe probe;
    probe.set(platform::PermissionKind::Accessibility, platform::PermissionState::Denied);
    QXAuthorityManagementWindowController permissions({&probe, nullptr, {}, nullptr});
    QXAIWindowTool::Deps deps;
    deps.state = &state.state();
    deps.scheduler = &scheduler;
    deps.makeHost = [](const platform::AiWebHostOptions &) { return std::make_unique<FakeAiWebHost>(); };
    QXAIWindowTool ai(deps);
    const std::function<QWidget *()> opens[] = {[&] { return permissions.checkPermission(true), permissions.window(); },
                                                [&] { return ai.showInWindow(), ai.webWindow()->window(); }};
    // The screen under the pointer; off every screen, the primary one.
    const std::pair<QPoint, QRect> rows[] = {{{3000, 1000}, {1600, 0, 1920, 1080}}, {{-10, 5000}, {0, 0, 1600, 900}}};
    for (const auto &open : opens)
        for (const auto &[at, screen] : rows) {
            QCursor::setPos(at);
            QWidget *window = open();
            // (A frame unknown before the first show may shift it by its own width.)
            const QRect frame = window->frameGeometry();
            EXPECT_TRUE(screen.contains(frame) && (frame.center() - screen.center()).manhattanLength() <= 8)
                << window->windowTitle().toStdString() << " at " << frame.x() << "," << frame.y();
            window->hide();
        }
}

} // namespace
