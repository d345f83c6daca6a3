// The real application as a user meets it, on the X server over a simulated receiver:
// the receiver's connection brings the main window up, each tab is clicked in turn and
// photographed (build/screens/app-*.png), the device page sets another DPI on the
// receiver, the receiver is pulled out and put back while each page shows, and the
// application keeps running and comes back each time; the log holds no warning the
// walk did not provoke.
#include "ReceiverNode.h"

#include <QDir>
#include <QImage>
#include <QMap>
#include <QRegularExpression>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <memory>

namespace {

using namespace receiver_node;

constexpr QSize kMainWindowSize(1080, 720);
// The tab bar: items of this height from this top, in the left column.
constexpr int kItemTop = 80;
constexpr int kItemHeight = 48;
constexpr int kTabColumnX = 100;
// The device page's DPI drop-down, in the window.
constexpr QPoint kDpiBox(490, 121);
// A plain receiver's mouse gets the device, smart, software and personal tabs.
constexpr int kTabs = 4;

// The mapped top-level window of the main window's size, or none.
std::optional<QRect> mainWindowRect()
{
    std::optional<QRect> found;
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return found;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&free)> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr), &free);
    const int n = tree ? xcb_query_tree_children_length(tree.get()) : 0;
    const xcb_window_t *children = tree ? xcb_query_tree_children(tree.get()) : nullptr;
    for (int i = 0; i < n && !found; ++i) {
        std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&free)> attrs(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr), &free);
        std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> g(
            xcb_get_geometry_reply(c, xcb_get_geometry(c, children[i]), nullptr), &free);
        if (attrs && g && attrs->map_state == XCB_MAP_STATE_VIEWABLE && g->width == kMainWindowSize.width()
            && g->height == kMainWindowSize.height())
            found = QRect(g->x, g->y, g->width, g->height);
    }
    xcb_disconnect(c);
    return found;
}

// What the screen shows in that rectangle (24-bit screens: 32 bits a pixel).
QImage grab(const QRect &r)
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    std::unique_ptr<xcb_get_image_reply_t, decltype(&free)> img(
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, qint16(r.x()), qint16(r.y()),
                                          quint16(r.width()), quint16(r.height()), ~0u),
                            nullptr),
        &free);
    QImage out;
    if (img && xcb_get_image_data_length(img.get()) == r.width() * r.height() * 4)
        out = QImage(xcb_get_image_data(img.get()), r.width(), r.height(), QImage::Format_RGB32).copy();
    xcb_disconnect(c);
    return out;
}

void click(const QPoint &at)
{
    Display *x = XOpenDisplay(nullptr);
    XTestFakeMotionEvent(x, -1, at.x(), at.y(), CurrentTime);
    XTestFakeButtonEvent(x, 1, True, CurrentTime);
    XTestFakeButtonEvent(x, 1, False, CurrentTime);
    XFlush(x);
    XCloseDisplay(x);
}

void key(KeySym sym)
{
    Display *x = XOpenDisplay(nullptr);
    const KeyCode code = XKeysymToKeycode(x, sym);
    XTestFakeKeyEvent(x, code, True, CurrentTime);
    XTestFakeKeyEvent(x, code, False, CurrentTime);
    XFlush(x);
    XCloseDisplay(x);
}

// The mouse's information: serial, ids, LED, microphone, sensor, DPI, model, battery, firmware.
QByteArray infoReport()
{
    QByteArray info = QByteArray::fromHex("0d5a4d6100");
    QByteArray sn("QXWALK0001");
    sn.append(QByteArray(30 - sn.size(), '\0'));
    info += sn + QByteArray::fromHex("ab22513101000102054d") + QByteArray("V1.2.3");
    info.append(QByteArray(64 - info.size(), '\0'));
    return info;
}

class WholeAppWalk : public AppReceiverE2E {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X server; run under xvfb-run";
        AppReceiverE2E::SetUp();
    }
    // Plugs the receiver in and lets its mouse answer the poll and the information request.
    std::unique_ptr<DeviceSide> plugIn(AppProcess &app)
    {
        const int connected = app.count("status item: connected");
        if (m_fd < 0)
            m_fd = addReceiver();
        const int fd = m_fd;
        if (fd < 0)
            return nullptr;
        umockdev_testbed_uevent(m_bed, kHidraw, "add");
        auto device = std::make_unique<DeviceSide>(fd);
        EXPECT_TRUE(device->waitForReport(report64("0da54d04694c"), 8000)) << device->seen().join(' ').toStdString();
        device->answer(report64("0d5a4d690000"));
        if (device->waitForReport(report64("0da54d04614c"), 5000))
            device->answer(infoReport());
        EXPECT_TRUE(QTest::qWaitFor([&] { return app.count("status item: connected") > connected; }, 8000))
            << app.output().toStdString();
        return device;
    }
    // The node stays in the test bed (umockdev cannot add a removed tree again): the
    // application sees the removal, closes it, and opens it again at the next arrival.
    void unplug() { umockdev_testbed_uevent(m_bed, kHidraw, "remove"); }
    static QPoint tabCentre(const QRect &window, int index)
    {
        return window.topLeft() + QPoint(kTabColumnX, kItemTop + kItemHeight * index + kItemHeight / 2);
    }

    int m_fd = -1;
};

TEST_F(WholeAppWalk, EveryTabShowsAndSurvivesTheReceiverPulledOutAndPutBack)
{
    auto app = std::make_unique<AppProcess>(m_root.path());
    app->unsetEnv("QT_QPA_PLATFORM");
    ASSERT_TRUE(app->start());
    ASSERT_TRUE(app->waitForUserLog(m_root.path(), "启动完成------")) << app->output().toStdString();
    std::unique_ptr<DeviceSide> device = plugIn(*app);
    ASSERT_TRUE(device);
    ASSERT_TRUE(QTest::qWaitFor([] { return mainWindowRect().has_value(); }, 5000)) << app->output().toStdString();

    // Each tab in turn, photographed.
    const QString screens = QStringLiteral(QX_SCREENS_DIR);
    QDir().mkpath(screens);
    for (int i = 0; i < kTabs; ++i) {
        const QRect window = *mainWindowRect();
        click(tabCentre(window, i));
        QTest::qWait(600);
        const QImage shot = grab(window);
        ASSERT_FALSE(shot.isNull()) << "tab " << i;
        EXPECT_TRUE(shot.save(screens + QStringLiteral("/app-tab%1.png").arg(i))) << "tab " << i;
    }

    // Another DPI on the device page (its drop-down, the first row without a profile
    // server): the receiver hears the new DPI.
    {
        const QRect window = *mainWindowRect();
        click(tabCentre(window, 0));
        QTest::qWait(300);
        device->drain(300);
        const qsizetype before = device->seen().size();
        click(window.topLeft() + kDpiBox);
        QTest::qWait(400);
        key(XK_Down);
        key(XK_Return);
        device->drain(1500);
        const QStringList after = device->seen().mid(before);
        // The family's DPI frame, with another index than the mouse reported (2).
        const auto dpiFrame = std::find_if(after.cbegin(), after.cend(), [](const QString &r) {
            return r.startsWith(QLatin1String("0da54d0568")) && r.mid(10, 2) != QLatin1String("02");
        });
        EXPECT_NE(dpiFrame, after.cend()) << after.join(' ').toStdString();
    }

    // The receiver pulled out while each page shows: the window goes with the device,
    // and comes back with it (a second launch asks for it).
    for (int i = 0; i < kTabs; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(QTest::qWaitFor([] { return mainWindowRect().has_value(); }, 5000));
        click(tabCentre(*mainWindowRect(), i));
        QTest::qWait(300);
        const int removals = app->count("status item: no device");
        device.reset();
        unplug();
        ASSERT_TRUE(QTest::qWaitFor([&] { return app->count("status item: no device") > removals; }, 10000))
            << app->output().toStdString();
        EXPECT_TRUE(QTest::qWaitFor([] { return !mainWindowRect().has_value(); }, 3000));
        ASSERT_TRUE(app->running());
        device = plugIn(*app);
        ASSERT_TRUE(device);
        AppProcess second(m_root.path());
        ASSERT_TRUE(second.start());
        EXPECT_EQ(second.waitForExit(), 0);
        EXPECT_TRUE(app->running());
    }
    ASSERT_TRUE(QTest::qWaitFor([] { return mainWindowRect().has_value(); }, 5000));

    EXPECT_EQ(app->terminate(), 0) << app->output().toStdString();
    // No warning the walk did not provoke. Its machine has no server that answers, no
    // Bluetooth, sound server, status area, compositor or network card: each of those is
    // said once; a request fails at most once for each connection of the receiver and
    // once each time the window comes up with the device page, never per page shown.
    static const QRegularExpression environment(QStringLiteral(
        "Connection refused|no adapter|BlueZ|Bluez|XDG_RUNTIME_DIR|no receiver connected|no status area|"
        "input monitoring cannot be requested|no compositing manager|no network interface|no sound server"));
    QStringList warnings;
    QMap<QString, int> seen;
    for (const QByteArray &raw : app->output().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (!line.contains(QStringLiteral("\u25CF W]")) && !line.contains(QStringLiteral("\u25CF \u274C]")))
            continue;
        if (!environment.match(line).hasMatch())
            warnings << line;
        ++seen[line];
    }
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QLatin1Char('\n')).toStdString();
    constexpr int kConnections = 1 + kTabs;
    constexpr int kRequestsAtMost = 2 * kConnections;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        EXPECT_LE(it.value(), it.key().contains(QLatin1String("Connection refused")) ? kRequestsAtMost : 1)
            << it.key().toStdString();
}

} // namespace
