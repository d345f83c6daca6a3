#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

// Where a window without a place of its own opens: centred on the screen the user is
// looking at (the one under the pointer), inside its work area, so it never lands in a
// corner behind the panel or the tray.
namespace windowplacement {

// The frame of a window of `frame` size centred in `workArea`; a frame larger than the
// area keeps its top-left corner inside it.
QRect centredIn(const QRect &workArea, const QSize &frame);
// The work area of the screen holding `point`, else of the primary screen; empty
// without a screen.
QRect workAreaAt(const QPoint &point);

// Moves a top-level window so its frame (the title bar included, once the window
// manager has given it one) stands centred in the work area of the screen holding
// `pointer`, or of the primary screen when no screen does.
void centreOnPointerScreen(QWidget &window, const QPoint &pointer);
void centreOnPointerScreen(QWidget &window); // at the cursor's position

} // namespace windowplacement
