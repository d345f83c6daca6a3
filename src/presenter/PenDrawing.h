#pragma once

#include "QXDrawView.h"
#include "overlay/EscapeArbiter.h"
#include "overlay/OverlayServices.h"

#include <QColor>
#include <QPointF>
#include <QPointer>

#include <functional>

class QScreen;

class Scheduler;

// The pointer's pen drawing: a window over the main screen holding a QXDrawView, from
// the first key-down in pen mode until Escape, a mode change or a clear. Translucent
// with a compositor; without one, opaque over a picture of the screen taken when the
// drawing starts. The window never takes the focus (the presentation keeps the
// keyboard). Escape goes through the arbiter, so a capture started and ended over the
// drawing hands the key back to it. Main thread.
class PenDrawing {
public:
    struct Deps {
        OverlayServices overlays;
        std::function<QPointF()> pointer;  // global; else the cursor's position
        std::function<QScreen *()> screen; // else the primary screen
        Scheduler *scheduler = nullptr;    // required
    };

    explicit PenDrawing(Deps deps);
    ~PenDrawing();
    PenDrawing(const PenDrawing &) = delete;
    PenDrawing &operator=(const PenDrawing &) = delete;

    // Shows a new, empty drawing with this pen unless one is on the screen (the next
    // stroke then joins it, in its own pen).
    void startDraw(const QColor &color, double width);
    // Takes the drawing down; the next startDraw begins an empty one.
    void endDraw();
    // Erases the strokes and ends the drawing.
    void clearDraw();
    // A stroke, from the key-down to the key-up; nothing without a drawing.
    void mouseDown();
    void mouseUp();

    bool isShown() const;
    QXDrawView *drawView() const { return m_view; }
    QWidget *window() const { return m_window; }

private:
    Deps m_deps;
    QPointer<OverlayWindow> m_window;
    QPointer<QXDrawView> m_view;
    EscapeArbiter::Token m_escape = EscapeArbiter::kNoToken;
};
