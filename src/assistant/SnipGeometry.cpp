#include "SnipGeometry.h"

#include <algorithm>
#include <cmath>

namespace snipgeometry {

QRectF selection(QPointF start, QPointF current)
{
    return {std::min(start.x(), current.x()), std::min(start.y(), current.y()), std::abs(current.x() - start.x()),
            std::abs(current.y() - start.y())};
}

QRectF toolBarFrame(const QRectF &selection, const QRectF &screen)
{
    QRectF bar(selection.right() - kToolBarWidth, selection.bottom() + kToolBarGap, kToolBarWidth, kToolBarHeight);
    if (screen.isEmpty())
        return bar;
    if (bar.bottom() > screen.bottom()) {
        const double above = selection.top() - kToolBarGap - kToolBarHeight;
        bar.moveTop(above >= screen.top() ? above : selection.bottom() - kToolBarGap - kToolBarHeight);
    }
    // A screen smaller than the bar keeps its top-left corner in view.
    bar.moveLeft(std::max(screen.left(), std::min(bar.left(), screen.right() - kToolBarWidth)));
    bar.moveTop(std::max(screen.top(), std::min(bar.top(), screen.bottom() - kToolBarHeight)));
    return bar;
}

QRect cropRect(const QRectF &selection, double dpr, QSize bitmap)
{
    if (selection.isEmpty() || !(dpr > 0))
        return {};
    const QRectF pixels(selection.topLeft() * dpr, selection.size() * dpr);
    // Floor the top-left, ceil the bottom-right: every pixel the selection touches.
    return pixels.toAlignedRect().intersected(QRect(QPoint(0, 0), bitmap));
}

} // namespace snipgeometry
