// Which process made a window, as the companion asks before it takes the helper's in:
// only the X server's word counts, never what the window says of itself.
#include "platform/linux/X11WindowOwner.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdlib>
#include <xcb/xcb.h>

namespace {

using platform::linuxbackend::windowNotOwnedBy;

// A window made on `maker` that says it belongs to process `pid`.
quint32 windowClaiming(xcb_connection_t *maker, quint32 pid)
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(maker)).data;
    const xcb_window_t w = xcb_generate_id(maker);
    xcb_create_window(maker, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, 0, nullptr);
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(maker, xcb_intern_atom(maker, 0, 11, "_NET_WM_PID"), nullptr);
    xcb_change_property(maker, XCB_PROP_MODE_REPLACE, w, atom->atom, XCB_ATOM_CARDINAL, 32, 1, &pid);
    std::free(atom);
    std::free(xcb_get_input_focus_reply(maker, xcb_get_input_focus(maker), nullptr));
    return w;
}

TEST(GuardWindowOwner, WithoutXResourceAWindowIsRefusedWhateverItsPidSays)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        GTEST_SKIP() << "needs Xvfb";
    QProcess server;
    server.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                  QStringLiteral("-extension"), QStringLiteral("X-Resource"), QStringLiteral("-screen"),
                  QStringLiteral("0"), QStringLiteral("64x64x24")});
    ASSERT_TRUE(server.waitForReadyRead(10000));
    const QByteArray display = ':' + server.readAllStandardOutput().trimmed();
    const quint32 pid = quint32(QCoreApplication::applicationPid());
    struct Row {
        const char *what;
        const char *display; // nullptr: the test's own server, which answers X-Resource
        bool taken;
    };
    for (const Row &row : {Row{"an X server that names the maker", nullptr, true},
                           Row{"an X server without X-Resource", display.constData(), false}}) {
        SCOPED_TRACE(row.what);
        xcb_connection_t *companion = xcb_connect(row.display, nullptr);
        xcb_connection_t *maker = xcb_connect(row.display, nullptr);
        ASSERT_FALSE(xcb_connection_has_error(companion) || xcb_connection_has_error(maker));
        const auto why = windowNotOwnedBy(companion, windowClaiming(maker, pid), pid);
        EXPECT_EQ(!why.has_value(), row.taken) << qPrintable(why.value_or(QString()));
        if (!row.taken) {
            EXPECT_TRUE(why.value_or(QString()).contains(QLatin1String("no X-Resource"))) << qPrintable(*why);
        }
        xcb_disconnect(maker);
        xcb_disconnect(companion);
    }
    server.terminate();
    server.waitForFinished(5000);
}

} // namespace
