#pragma once

#include "views/QXBaseView.h"

#include <QRect>

#include <functional>

// The window the guide shows in. Beside a status item it is a popover: a frameless
// window over the others, under the item (above it when the item sits at the bottom
// of the screen), that never takes the focus from the application the user works in.
// Where the desktop has no status area it is a small ordinary window in the middle of
// the screen, which the user moves and closes as any other.
class GuidePopover : public QXBaseView {
    Q_OBJECT
public:
    enum class Mode { Popover, Window };

    GuidePopover(QWidget *content, Mode mode);

    Mode mode() const { return m_mode; }
    // Popover: placed at the item's rectangle, or at the pointer when that is empty.
    // Window: centred on the screen.
    void showAt(const QRect &anchor);
    // Called when the user closes the window (Window mode).
    void setClosedHandler(std::function<void()> handler) { m_onClosed = std::move(handler); }

    // The top-left corner of a popover of `size` for an item at `anchor` on a screen
    // whose free area is `screen`: centred under the item, or above it when there is
    // no room below, always inside the screen. An empty anchor stands for the pointer
    // at `cursor`.
    static QPoint popoverOrigin(const QRect &anchor, const QSize &size, const QRect &screen, const QPoint &cursor);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Mode m_mode;
    std::function<void()> m_onClosed;
};
