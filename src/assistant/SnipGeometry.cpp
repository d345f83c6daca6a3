#include "SnipGeometry.h"

#include <cmath>

namespace snipgeometry {

QRectF selection(QPointF start, QPointF current)
{
    return {std::min(start.x(), current.x()), std::min(start.y(), current.y()), std::abs(current.x() - start.x()),
            std::abs(current.y() - start.y())};
}

QRectF toolBarFrame(const QRectF &selection)
{
    return {selection.right() - kToolBarWidth, selection.bottom() + kToolBarGap, kToolBarWidth, kToolBarHeight};
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
