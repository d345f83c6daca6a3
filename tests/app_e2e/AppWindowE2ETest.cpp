// The real application on the X server: without a device the launch completes and no
// main window stays on screen; a receiver whose mouse answers brings the main window
// up a second after the connection, centred.
#include "ReceiverNode.h"
#include "X11Desktop.h"

#include <QSize>
#include <QTest>

#include <xcb/xcb.h>

#include <memory>

namespace {

using namespace receiver_node;

constexpr QSize kMainWindowSize(1080, 720);

// The X server's mapped top-level windows of that size, with their position.
QList<QPoint> mappedWindowsOfSize(QSize size)
{
    QList<QPoint> found;
    for (const x11desktop::TopLevel &window : x11desktop::shownTopLevels(size))
        found << window.rect.topLeft();
    return found;
}

QSize screenSize()
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    const xcb_screen_t *s = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const QSize size(s->width_in_pixels, s->height_in_pixels);
    xcb_disconnect(c);
    return size;
}

class AppWindowE2E : public AppReceiverE2E {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X server; run under xvfb-run";
        AppReceiverE2E::SetUp();
    }
    // On the display, as a user starts it.
    std::unique_ptr<AppProcess> startOnDisplay()
    {
        auto app = std::make_unique<AppProcess>(m_root.path());
        app->unsetEnv("QT_QPA_PLATFORM");
        return app;
    }
};

TEST_F(AppWindowE2E, WithoutADeviceTheLaunchCompletesAndTheMainWindowNeverStays)
{
    ASSERT_TRUE(mappedWindowsOfSize(kMainWindowSize).isEmpty()) << "a main window of another test is still up";
    const auto app = startOnDisplay();
    ASSERT_TRUE(app->start());
    ASSERT_TRUE(app->waitForUserLog(m_root.path(), "启动完成------")) << app->output().toStdString();
    const QByteArray log = AppProcess::userLog(m_root.path());
    EXPECT_LT(log.indexOf("configData完成-------"), log.indexOf("启动完成------")) << log.toStdString();
    EXPECT_GE(log.indexOf("configData完成-------"), 0);
    // Past the moment a connected launch would open it.
    QTest::qWait(1500);
    EXPECT_TRUE(mappedWindowsOfSize(kMainWindowSize).isEmpty());

    // A second launch is answered with the tip, and still no window.
    AppProcess second(m_root.path());
    ASSERT_TRUE(second.start());
    EXPECT_EQ(second.waitForExit(), 0);
    EXPECT_TRUE(app->waitFor("asked for the window without a device")) << app->output().toStdString();
    QTest::qWait(300);
    EXPECT_TRUE(mappedWindowsOfSize(kMainWindowSize).isEmpty());

    EXPECT_EQ(app->terminate(), 0) << app->output().toStdString();
}

TEST_F(AppWindowE2E, AConnectedReceiverBringsTheMainWindowUpCentredASecondLater)
{
    const auto app = startOnDisplay();
    ASSERT_TRUE(app->start());
    ASSERT_TRUE(app->waitForUserLog(m_root.path(), "启动完成------")) << app->output().toStdString();
    const int fd = addReceiver();
    ASSERT_GE(fd, 0);
    umockdev_testbed_uevent(m_bed, kHidraw, "add");
    DeviceSide device(fd);
    ASSERT_TRUE(device.waitForReport(report64("0da54d04694c"), 8000)) << device.seen().join(' ').toStdString();
    EXPECT_TRUE(mappedWindowsOfSize(kMainWindowSize).isEmpty());

    // The mouse answers the poll: connected.
    ASSERT_TRUE(device.answer(report64("0d5a4d690000")));
    QElapsedTimer sinceConnection;
    sinceConnection.start();
    ASSERT_TRUE(app->waitFor("status item: connected")) << app->output().toStdString();
    QTest::qWait(500);
    EXPECT_TRUE(mappedWindowsOfSize(kMainWindowSize).isEmpty()) << "up before its second";
    ASSERT_TRUE(QTest::qWaitFor([] { return !mappedWindowsOfSize(kMainWindowSize).isEmpty(); }, 5000))
        << app->output().toStdString();
    EXPECT_GE(sinceConnection.elapsed(), 1000);
    const QSize screen = screenSize();
    const QPoint at = mappedWindowsOfSize(kMainWindowSize).constFirst();
    EXPECT_NEAR(at.x(), (screen.width() - kMainWindowSize.width()) / 2, 2);
    EXPECT_NEAR(at.y(), (screen.height() - kMainWindowSize.height()) / 2, 2);

    EXPECT_EQ(app->terminate(), 0) << app->output().toStdString();
    EXPECT_TRUE(mappedWindowsOfSize(kMainWindowSize).isEmpty());
}

} // namespace
