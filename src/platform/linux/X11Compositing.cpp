#include "X11Compositing.h"

#include "PZLog.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace platform::linuxbackend {

namespace {
// The screen number DISPLAY names (":0.1" is screen 1), as Xlib's default screen.
int defaultScreenNumber()
{
    const char *display = std::getenv("DISPLAY");
    const char *dot = display ? std::strrchr(display, '.') : nullptr;
    const char *colon = display ? std::strrchr(display, ':') : nullptr;
    return dot && colon && dot > colon ? std::atoi(dot + 1) : 0;
}

bool compositingManagerOwnsSelection(xcb_connection_t *connection)
{
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(defaultScreenNumber());
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData()), nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t *owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool owned = owner && owner->owner != XCB_NONE;
    std::free(owner);
    std::free(atom);
    return owned;
}
} // namespace

bool windowsCanBeTranslucent()
{
    if (!qGuiApp)
        return false;
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return true;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return false;
    const bool composited = compositingManagerOwnsSelection(x11->connection());
    if (!composited)
        qxLogOnce(QStringLiteral("x11:compositing"),
                  QStringLiteral("no compositing manager runs: the pop-ups are opaque windows cut to their shape"));
    return composited;
}

} // namespace platform::linuxbackend
