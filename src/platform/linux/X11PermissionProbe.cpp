#include "X11PermissionProbe.h"

#include "HidrawProperties.h"
#include "LinuxHidBackend.h"
#include "PZLog.h"
#include "UdevSource.h"
#include "platform/PlatformApi.h"

#include <xcb/record.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <unistd.h>

namespace platform::linuxbackend {

namespace {

struct XcbClose {
    void operator()(xcb_connection_t *c) const { xcb_disconnect(c); }
};
using Connection = std::unique_ptr<xcb_connection_t, XcbClose>;

PermissionCheck granted(QString detail = {})
{
    return {PermissionState::Granted, PermissionRemedy::None, std::move(detail)};
}

PermissionCheck denied(PermissionRemedy remedy, QString detail)
{
    return {PermissionState::Denied, remedy, std::move(detail)};
}

bool hasExtension(xcb_connection_t *c, xcb_extension_t *extension)
{
    const xcb_query_extension_reply_t *reply = xcb_get_extension_data(c, extension);
    return reply && reply->present;
}

bool rootPixelReadable(xcb_connection_t *c, int screenNumber)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem)
        return false;
    xcb_generic_error_t *error = nullptr;
    xcb_get_image_reply_t *reply =
        xcb_get_image_reply(c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, it.data->root, 0, 0, 1, 1, ~0u), &error);
    const bool ok = reply && !error;
    std::free(reply);
    std::free(error);
    return ok;
}

} // namespace

X11PermissionProbe::X11PermissionProbe(QList<HidMatch> receivers) : m_receivers(std::move(receivers)) {}

PermissionCheck X11PermissionProbe::receiverNodeAccess(const QList<HidMatch> &receivers)
{
    UdevSource udev;
    int present = 0;
    std::optional<PermissionCheck> refused;
    udev.enumerate("hidraw", nullptr, [&](udev_device *device, const char *) {
        const HidDeviceInfo info = mapHidrawSnapshot(LinuxHidBackend::snapshotOf(device));
        if (info.path.isEmpty() || !receivers.contains(HidMatch{info.vendorId, info.productId}))
            return;
        ++present;
        if (refused || ::access(QFile::encodeName(info.path).constData(), R_OK | W_OK) == 0)
            return;
        const int error = errno;
        refused = denied(PermissionRemedy::UdevRule, QStringLiteral("%1 (%2:%3): %4")
                                                         .arg(info.path)
                                                         .arg(info.vendorId, 4, 16, QLatin1Char('0'))
                                                         .arg(info.productId, 4, 16, QLatin1Char('0'))
                                                         .arg(QString::fromLocal8Bit(std::strerror(error))));
    });
    if (refused)
        return *refused;
    if (present == 0)
        return {PermissionState::Undetermined, PermissionRemedy::None, QStringLiteral("no receiver is connected")};
    return granted(QStringLiteral("%1 receiver node(s) can be read and written").arg(present));
}

PermissionCheck X11PermissionProbe::check(PermissionKind kind)
{
    if (isWaylandSession())
        return denied(PermissionRemedy::X11Session, QStringLiteral("native Wayland session"));
    int screen = 0;
    Connection c(xcb_connect(nullptr, &screen));
    if (xcb_connection_has_error(c.get()))
        return denied(PermissionRemedy::X11Session, QStringLiteral("no X11 display can be reached"));

    switch (kind) {
    case PermissionKind::Accessibility:
        return hasExtension(c.get(), &xcb_test_id)
                   ? granted()
                   : denied(PermissionRemedy::XTestExtension, QStringLiteral("the X server has no XTEST extension"));
    case PermissionKind::InputMonitoring:
        if (!hasExtension(c.get(), &xcb_record_id))
            return denied(PermissionRemedy::XRecordExtension, QStringLiteral("the X server has no RECORD extension"));
        return receiverNodeAccess(m_receivers);
    case PermissionKind::ScreenRecording:
        return rootPixelReadable(c.get(), screen)
                   ? granted()
                   : denied(PermissionRemedy::ScreenCapture, QStringLiteral("the root window cannot be read"));
    }
    return {};
}

void X11PermissionProbe::requestInputMonitoring()
{
    qxLogOnce(QStringLiteral("permissions:request"),
              QStringLiteral("input monitoring cannot be requested on Linux; a receiver's access is checked once one "
                             "is connected"));
}

} // namespace platform::linuxbackend
