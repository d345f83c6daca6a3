// On a real X server: the desktop services the application installs find the server,
// a key they synthesise reaches a grab they hold, and a window is mapped with its X
// events arriving; once no display is left, the session check says so once.
#include "PZLog.h"
#include "platform/PlatformServices.h"
#include "platform/linux/LinuxDesktopServices.h"
#include "platform/linux/X11Session.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QTest>
#include <QWidget>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

namespace {

class MapNotifyFilter : public QAbstractNativeEventFilter {
public:
    int mapNotifies = 0;
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type == "xcb_generic_event_t") {
            auto *ev = static_cast<xcb_generic_event_t *>(message);
            if ((ev->response_type & ~0x80) == XCB_MAP_NOTIFY)
                ++mapNotifies;
        }
        return false;
    }
};

constexpr int kMacF4 = 118;

TEST(X11SmokeTest, InstalledDesktopServicesReachTheServer)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "not running on an X server (platform " << QGuiApplication::platformName().toStdString()
                     << "); run under xvfb-run";
    platform::linuxbackend::LinuxDesktopServices desktop;
    platform::PlatformServices &s = platform::services();
    ASSERT_TRUE(s.keyPoster->isAvailable());
    ASSERT_TRUE(s.shortcuts->isAvailable());
    EXPECT_TRUE(s.mouseMonitor->isAvailable());
    EXPECT_TRUE(platform::linuxbackend::x11Reachable(QStringLiteral("smoke")));
    EXPECT_FALSE(qxLoggedOnce(QStringLiteral("x11:smoke")));

    MapNotifyFilter filter;
    qApp->installNativeEventFilter(&filter);
    QWidget w;
    w.resize(200, 100);
    w.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&w, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return filter.mapNotifies > 0; }, 5000));
    qApp->removeNativeEventFilter(&filter);

    // The server treats a synthesised key as typed, so the grab sees it.
    int fired = 0;
    const auto token = s.shortcuts->grab(kMacF4, 0, [&] { ++fired; });
    ASSERT_NE(token, platform::IGlobalShortcuts::kNoToken);
    ASSERT_TRUE(s.keyPoster->postKeyStroke(kMacF4, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return fired == 1; }, 5000));
    s.shortcuts->release(token);

    // A session that lost its display: every later check of a service says no, and
    // the log hears it once.
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    EXPECT_FALSE(platform::linuxbackend::x11Reachable(QStringLiteral("smoke-gone")));
    EXPECT_FALSE(platform::linuxbackend::x11Reachable(QStringLiteral("smoke-gone")));
    EXPECT_TRUE(qxLoggedOnce(QStringLiteral("x11:smoke-gone")));
    qputenv("DISPLAY", display);
}

} // namespace
