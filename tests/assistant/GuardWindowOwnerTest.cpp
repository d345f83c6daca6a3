// Which process made a window, as the companion asks before it takes the helper's in:
// where the X server cannot say (no X-Resource), what the window says of itself
// (_NET_WM_PID) is not taken for it.
#include "platform/linux/X11WindowOwner.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstdlib>
#include <xcb/xcb.h>

TEST(GuardWindowOwner, WithoutXResourceAWindowIsRefusedWhateverItsPidSays)
{
    QProcess server;
    server.start(QStringLiteral("Xvfb"), QStringLiteral("-displayfd 1 -nolisten tcp -extension X-Resource").split(' '));
    if (!server.waitForReadyRead(10000))
        GTEST_SKIP() << "needs Xvfb";
    const QByteArray display = ':' + server.readAllStandardOutput().trimmed();
    xcb_connection_t *companion = xcb_connect(display.constData(), nullptr);
    xcb_connection_t *maker = xcb_connect(display.constData(), nullptr);
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(maker)).data;
    const xcb_window_t w = xcb_generate_id(maker);
    xcb_create_window(maker, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, 0, nullptr);
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(maker, xcb_intern_atom(maker, 0, 11, "_NET_WM_PID"), nullptr);
    const quint32 pid = quint32(QCoreApplication::applicationPid());
    xcb_change_property(maker, XCB_PROP_MODE_REPLACE, w, atom->atom, XCB_ATOM_CARDINAL, 32, 1, &pid);
    std::free(atom);
    std::free(xcb_get_input_focus_reply(maker, xcb_get_input_focus(maker), nullptr));

    const auto why = platform::linuxbackend::windowNotOwnedBy(companion, w, pid);
    EXPECT_TRUE(why && why->contains(QLatin1String("no X-Resource"))) << qPrintable(why.value_or("taken in"));
    xcb_disconnect(maker);
    xcb_disconnect(companion);
    server.terminate();
    server.waitForFinished(5000);
}
