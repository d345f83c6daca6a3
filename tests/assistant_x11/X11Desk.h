#pragma once

#include "PatternColour.h"

#include <QImage>
#include <QProcess>
#include <QRect>

#include <memory>

// The X display of the capture tests: another program's window with a known picture,
// and a compositing manager started and stopped on demand.
class X11Desk {
public:
    ~X11Desk();
    // Shows the pattern window at `area`; false when the helper did not come up.
    bool showPattern(const QRect &area);
    // Shows another program's window at `area` holding the keyboard focus; its X
    // window id, 0 when it did not come up.
    unsigned long showFocused(const QRect &area);
    // Starts xcompmgr and waits until it owns the compositing selection (false: it
    // did not); stopCompositor() waits until it is gone.
    bool startCompositor();
    void stopCompositor();
    // The clipboard's PNG as another program reads it (null: none).
    static QImage clipboardOfAnotherProgram();
    // Whether `image` holds the pattern's pixels from `from` (in the window) on.
    static bool showsPattern(const QImage &image, QPoint from);

private:
    std::unique_ptr<QProcess> m_pattern;
    std::unique_ptr<QProcess> m_compositor;
    std::unique_ptr<QProcess> m_focused;
};
