// Proves the Xvfb harness: a real window is mapped on a real X server and an X event
// for it reaches the application.
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

TEST(X11SmokeTest, WindowIsMappedAndXEventsArrive)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "not running on an X server (platform " << QGuiApplication::platformName().toStdString()
                     << "); run under xvfb-run";
    MapNotifyFilter filter;
    qApp->installNativeEventFilter(&filter);
    QWidget w;
    w.resize(200, 100);
    w.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&w, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return filter.mapNotifies > 0; }, 5000));
    qApp->removeNativeEventFilter(&filter);
}

} // namespace
