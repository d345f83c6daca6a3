#include "X11SelectionCopier.h"

#include "PZLog.h"
#include "X11Session.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>

namespace platform::linuxbackend {

namespace {
const QString kService = QStringLiteral("selection copy");
}

X11SelectionCopier::X11SelectionCopier(IClipboard &clipboard) : m_plain(clipboard)
{
    if (x11Reachable(kService) && !connect())
        disconnect();
}

X11SelectionCopier::~X11SelectionCopier()
{
    disconnect();
}

bool X11SelectionCopier::connect()
{
    m_connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_connection)) {
        qxLogOnce("x11:" + kService, kService + " is not available: the X display cannot be opened");
        return false;
    }
    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(m_connection, &xcb_xfixes_id);
    xcb_xfixes_query_version_reply_t *version = nullptr;
    if (xfixes && xfixes->present)
        version = xcb_xfixes_query_version_reply(
            m_connection, xcb_xfixes_query_version(m_connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
            nullptr);
    if (!version) {
        qxLogOnce("x11:" + kService, kService + " is not available: the X server has no XFIXES extension");
        return false;
    }
    free(version);
    m_notifyEvent = quint8(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);

    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    m_window = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    xcb_xfixes_select_selection_input(m_connection, m_window, XCB_ATOM_PRIMARY,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                                          | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                                          | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(m_connection);
    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { readEvents(); });
    return true;
}

void X11SelectionCopier::disconnect()
{
    m_notifier.reset();
    if (m_connection)
        xcb_disconnect(m_connection);
    m_connection = nullptr;
}

void X11SelectionCopier::readEvents()
{
    if (!m_connection)
        return;
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
        if ((event->response_type & 0x7f) == m_notifyEvent) {
            const auto *notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t *>(event);
            // Also when the owner's window or connection went: the selection is gone.
            if (notify->selection == XCB_ATOM_PRIMARY)
                m_lastChange = notify->timestamp;
        }
        free(event);
    }
    if (xcb_connection_has_error(m_connection)) {
        qxWarning("x11") << "the X connection of the" << kService << "closed; new selections are no longer seen";
        disconnect();
    }
}

void X11SelectionCopier::beginGesture(quint32 eventTime)
{
    readEvents();
    // Without a time stamp the gesture begins now: after every change seen so far.
    m_gestureStart = eventTime ? eventTime : m_lastChange + 1;
}

bool X11SelectionCopier::selectionChangedSinceGesture()
{
    if (!m_connection) {
        qxLogOnce("x11:" + kService, kService + " is not available; selections are not copied");
        return false;
    }
    readEvents();
    // The server's clock wraps after 49 days; the difference stays right across it.
    return m_lastChange != 0 && qint32(m_lastChange - m_gestureStart) >= 0;
}

bool X11SelectionCopier::copySelectionToClipboard()
{
    return m_plain.copySelectionToClipboard();
}

} // namespace platform::linuxbackend
