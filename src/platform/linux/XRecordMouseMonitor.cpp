#include "XRecordMouseMonitor.h"

#include "PZLog.h"
#include "X11Session.h"

#include <QGuiApplication>
#include <QWindow>

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace platform::linuxbackend {

namespace {
const QString kService = QStringLiteral("global mouse monitor");
}

XRecordMouseMonitor::XRecordMouseMonitor() = default;

// The control connection is opened on first use: most sessions never watch the
// pointer, and an idle connection costs the process about 80 KiB.
bool XRecordMouseMonitor::probe() const
{
    if (m_probed)
        return m_available;
    m_probed = true;
    if (!x11Reachable(kService))
        return false;
    m_control = XOpenDisplay(nullptr);
    if (!m_control) {
        qxLogOnce("x11:" + kService, kService + " is not available: the X display cannot be opened");
        return false;
    }
    int major = 0, minor = 0;
    if (!XRecordQueryVersion(m_control, &major, &minor)) {
        qxLogOnce("x11:" + kService, kService + " is not available: the X server has no RECORD extension");
        XCloseDisplay(m_control);
        m_control = nullptr;
        return false;
    }
    m_available = true;
    return true;
}

XRecordMouseMonitor::~XRecordMouseMonitor()
{
    stopRecording();
    if (m_control)
        XCloseDisplay(m_control);
}

namespace {
// Pointer motion is recorded only while a handler wants some: without it the server
// sends nothing as the pointer moves, and nothing here wakes.
bool wantsMotion(quint64 mask)
{
    return mask
           & (maskOf(MouseEventType::MouseMoved) | maskOf(MouseEventType::LeftMouseDragged)
              | maskOf(MouseEventType::RightMouseDragged) | maskOf(MouseEventType::OtherMouseDragged));
}
} // namespace

IGlobalMouseMonitor::Token XRecordMouseMonitor::add(quint64 mask, Handler handler)
{
    // Inactive, only what needs no connection is checked (the session, a display).
    if (!m_active && !x11Reachable(kService))
        return kNoToken;
    if (m_active) {
        if (!probe()) {
            qxLogOnce("x11:" + kService, kService + " is not available; no monitor installed");
            return kNoToken;
        }
        const bool motion = wantsMotion(m_unionMask.load() | mask);
        if (m_context && motion != m_recordsMotion)
            stopRecording(); // started again below with motion
        if (!m_context && !startRecording(motion))
            return kNoToken;
    }
    const Token token = m_nextToken++;
    m_entries.emplace(token, Entry{mask, std::move(handler)});
    updateUnionMask();
    return token;
}

void XRecordMouseMonitor::remove(Token token)
{
    if (m_entries.erase(token) == 0)
        return;
    updateUnionMask();
    if (m_entries.empty()) {
        stopRecording();
    } else if (m_context && m_recordsMotion && !wantsMotion(m_unionMask.load())) {
        stopRecording();
        startRecording(false);
    }
}

void XRecordMouseMonitor::setActive(bool active)
{
    if (std::exchange(m_active, active) == active)
        return;
    if (!active) {
        stopRecording();
        if (m_control)
            XCloseDisplay(m_control);
        m_control = nullptr;
        m_probed = m_available = false;
    } else if (!m_entries.empty() && probe()) {
        startRecording(wantsMotion(m_unionMask.load()));
    }
}

void XRecordMouseMonitor::updateUnionMask()
{
    quint64 mask = 0;
    for (const auto &[token, entry] : m_entries)
        mask |= entry.mask;
    m_unionMask.store(mask);
}

bool XRecordMouseMonitor::startRecording(bool motion)
{
    XRecordRange *range = XRecordAllocRange();
    if (!range)
        return false;
    range->device_events.first = ButtonPress;
    range->device_events.last = motion ? MotionNotify : ButtonRelease;
    m_recordsMotion = motion;
    XRecordClientSpec clients = XRecordAllClients;
    m_context = XRecordCreateContext(m_control, 0, &clients, 1, &range, 1);
    XFree(range);
    XSync(m_control, False);
    if (!m_context) {
        qxWarning("x11") << "cannot create a RECORD context; mouse events are not observed";
        return false;
    }
    m_data = XOpenDisplay(DisplayString(m_control));
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    auto callback = [](XPointer closure, XRecordInterceptData *data) {
        auto *self = reinterpret_cast<XRecordMouseMonitor *>(closure);
        if (data->category == XRecordStartOfData)
            self->m_recording.store(true);
        else if (data->category == XRecordFromServer && data->data)
            self->onIntercepted(data->data, int(data->data_len) * 4);
        XRecordFreeData(data);
    };
    if (!m_data || m_wakeFd < 0
        || !XRecordEnableContextAsync(m_data, m_context, callback, reinterpret_cast<XPointer>(this))) {
        qxWarning("x11") << "cannot start recording mouse events";
        if (m_data)
            XCloseDisplay(m_data);
        if (m_wakeFd >= 0)
            close(m_wakeFd);
        m_data = nullptr;
        m_wakeFd = -1;
        XRecordFreeContext(m_control, m_context);
        m_context = 0;
        return false;
    }
    XFlush(m_data);
    // The buttons held as recording starts: a monitor that wants motion is typically
    // added at the press that begins a drag, which the new context never saw. Asked
    // after the context is enabled, so a release in between is recorded.
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int buttons = 0;
    XQueryPointer(m_control, DefaultRootWindow(m_control), &root, &child, &rootX, &rootY, &x, &y, &buttons);
    m_held = {bool(buttons & Button1Mask), bool(buttons & Button2Mask), bool(buttons & Button3Mask)};
    m_reader = std::thread([this] { readLoop(); });
    return true;
}

void XRecordMouseMonitor::stopRecording()
{
    if (!m_context)
        return;
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(m_wakeFd, &one, sizeof one);
    if (m_reader.joinable())
        m_reader.join();
    XRecordDisableContext(m_control, m_context);
    XRecordFreeContext(m_control, m_context);
    XSync(m_control, False);
    XCloseDisplay(m_data);
    close(m_wakeFd);
    m_data = nullptr;
    m_wakeFd = -1;
    m_context = 0;
    m_recording.store(false);
}

void XRecordMouseMonitor::readLoop()
{
    pollfd fds[2] = {{ConnectionNumber(m_data), POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    for (;;) {
        XRecordProcessReplies(m_data);
        fds[0].revents = fds[1].revents = 0;
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            break;
        if (fds[1].revents)
            break;
        if (fds[0].revents & (POLLERR | POLLHUP)) {
            qxWarning("x11") << "the X connection of the mouse monitor closed";
            break;
        }
    }
}

// Reader thread: classify, and hand over only what some handler wants.
void XRecordMouseMonitor::onIntercepted(const unsigned char *bytes, int length)
{
    if (length < int(sizeof(xEvent)))
        return;
    xEvent ev;
    std::memcpy(&ev, bytes, sizeof ev);
    RawPointerKind kind;
    switch (ev.u.u.type & 0x7f) {
    case ButtonPress:
        kind = RawPointerKind::Press;
        break;
    case ButtonRelease:
        kind = RawPointerKind::Release;
        break;
    case MotionNotify:
        kind = RawPointerKind::Motion;
        break;
    default:
        return;
    }
    const int button = kind == RawPointerKind::Motion ? 0 : ev.u.u.detail;
    const auto type = classifyPointerEvent(kind, button, m_held);
    trackHeldButtons(m_held, kind, button);
    if (!type || !maskMatches(m_unionMask.load(), *type))
        return;
    MouseEvent event;
    event.type = *type;
    event.globalPos = QPoint(ev.u.keyButtonPointer.rootX, ev.u.keyButtonPointer.rootY);
    event.buttonNumber = kind == RawPointerKind::Motion ? 0 : buttonNumberForXButton(button);
    event.time = ev.u.keyButtonPointer.time;
    QMetaObject::invokeMethod(
        this, [this, event] { deliver(event); }, Qt::QueuedConnection);
}

// Whether the window that took the event at pos is one of ours. Our windows' frames
// only narrow it down: another application's window may lie above ours there, and
// the click then went to it. The server knows the stacking: walking down from the
// root through the topmost window at pos (the window manager's frame, then what it
// holds) reaches one of ours only if ours is what is visible there.
bool XRecordMouseMonitor::isOverOwnWindow(QPoint pos) const
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()) || !m_control)
        return false;
    std::vector<Window> ours;
    for (QWindow *w : QGuiApplication::topLevelWindows())
        if (w->isVisible() && w->handle() && w->frameGeometry().contains(pos))
            ours.push_back(Window(w->winId()));
    if (ours.empty())
        return false;
    const Window root = DefaultRootWindow(m_control);
    Window from = root;
    for (int depth = 0; depth < 8; ++depth) {
        int x = 0, y = 0;
        Window child = None;
        if (!XTranslateCoordinates(m_control, root, from, pos.x(), pos.y(), &x, &y, &child) || child == None)
            return false;
        if (std::find(ours.begin(), ours.end(), child) != ours.end())
            return true;
        from = child;
    }
    return false;
}

void XRecordMouseMonitor::deliver(const MouseEvent &event)
{
    // Events at our own windows belong to the local monitors, as on other desktops.
    if (isOverOwnWindow(event.globalPos))
        return;
    std::vector<Handler> handlers;
    for (const auto &[token, entry] : m_entries)
        if (maskMatches(entry.mask, event.type))
            handlers.push_back(entry.handler);
    for (const Handler &h : handlers)
        h(event);
}

} // namespace platform::linuxbackend
