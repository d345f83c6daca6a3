#include "WindowPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace windowplacement {

QRect centredIn(const QRect &workArea, const QSize &frame)
{
    const int x = workArea.left() + std::max(0, (workArea.width() - frame.width()) / 2);
    const int y = workArea.top() + std::max(0, (workArea.height() - frame.height()) / 2);
    return {QPoint(x, y), frame};
}

QRect workAreaAt(const QPoint &point)
{
    QScreen *screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void centreOnPointerScreen(QWidget &window, const QPoint &pointer)
{
    const QRect area = workAreaAt(pointer);
    if (area.isEmpty())
        return;
    // A window not yet shown has no frame: its title bar is unknown and counted as none.
    const QRect frame = window.frameGeometry();
    window.move(centredIn(area, frame.size()).topLeft());
}

void centreOnPointerScreen(QWidget &window)
{
    centreOnPointerScreen(window, QCursor::pos());
}

} // namespace windowplacement
