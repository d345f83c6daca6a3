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
// counts as having selected something only when PRIMARY's owner or time stamp
// changed since it began: a connection of our own follows every change through
// XFixes selection events, read as they come, so asking costs no round trip.
// Main thread only. Without X11 (native Wayland) nothing counts as selected.
class X11SelectionCopier final : public ISelectionCopier {
public:
    explicit X11SelectionCopier(IClipboard &clipboard);
    ~X11SelectionCopier() override;
    X11SelectionCopier(const X11SelectionCopier &) = delete;
    X11SelectionCopier &operator=(const X11SelectionCopier &) = delete;

    bool isAvailable() const { return m_connection != nullptr; }

    bool copySelectionToClipboard() override;
    void beginGesture() override;
    bool selectionChangedSinceGesture() override;

private:
    struct Stamp {
        quint32 owner = 0;
        quint32 time = 0;
        bool operator==(const Stamp &o) const { return owner == o.owner && time == o.time; }
    };
    bool connect();
    void disconnect();
    void readEvents();

    PrimarySelectionCopier m_plain; // the copy itself
    xcb_connection_t *m_connection = nullptr;
    quint32 m_window = 0;
    quint8 m_notifyEvent = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    Stamp m_current;
    Stamp m_atGesture;
};

} // namespace platform::linuxbackend
