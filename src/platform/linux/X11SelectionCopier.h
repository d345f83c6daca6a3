#pragma once

#include "platform/ISelectionCopier.h"
#include "platform/PrimarySelectionCopier.h"

#include <QtGlobal>

#include <memory>

struct xcb_connection_t;
class QSocketNotifier;

namespace platform::linuxbackend {

// Copies the X11 PRIMARY selection (what was last selected anywhere) to the
// CLIPBOARD. PRIMARY keeps its text long after the selection was made, so a gesture
// counts as having selected something only when PRIMARY changed owner or time stamp
// after the gesture began: a connection of our own hears of every change through
// XFixes selection events, stamped with the server time they happened at, and that
// is compared with the server time of the gesture's mouse-down. Main thread only.
// Without X11 (native Wayland) nothing counts as selected.
class X11SelectionCopier final : public ISelectionCopier {
public:
    explicit X11SelectionCopier(IClipboard &clipboard);
    ~X11SelectionCopier() override;
    X11SelectionCopier(const X11SelectionCopier &) = delete;
    X11SelectionCopier &operator=(const X11SelectionCopier &) = delete;

    bool isAvailable() const { return m_connection != nullptr; }

    bool copySelectionToClipboard() override;
    void beginGesture(quint32 eventTime) override;
    bool selectionChangedSinceGesture() override;

private:
    bool connect();
    void disconnect();
    void readEvents();

    PrimarySelectionCopier m_plain; // the copy itself
    xcb_connection_t *m_connection = nullptr;
    quint32 m_window = 0;
    quint8 m_notifyEvent = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    quint32 m_lastChange = 0;   // server time of PRIMARY's last change; 0 none seen
    quint32 m_gestureStart = 0; // server time the gesture began at
};

} // namespace platform::linuxbackend
