#include "LayerStyle.h"

#include <QPainter>

#include <algorithm>

namespace {
qreal boundedRadius(qreal radius, const QRectF &rect)
{
    return std::clamp(radius, qreal(0), std::min(rect.width(), rect.height()) / 2);
}
} // namespace

QPainterPath LayerStyle::shape(const QRectF &bounds) const
{
    QPainterPath path;
    const qreal r = boundedRadius(cornerRadius, bounds);
    if (r > 0)
        path.addRoundedRect(bounds, r, r);
    else
        path.addRect(bounds);
    return path;
}

void LayerStyle::paintBackground(QPainter &painter, const QRectF &bounds) const
{
    if (!hasBackground() || bounds.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(backgroundColor);
    painter.drawPath(shape(bounds));
    painter.restore();
}

void LayerStyle::paintBorder(QPainter &painter, const QRectF &bounds) const
{
    if (!hasBorder() || bounds.isEmpty())
        return;
    const qreal half = borderWidth / 2;
    const QRectF line = bounds.adjusted(half, half, -half, -half);
    if (line.isEmpty())
        return;
    const qreal r = boundedRadius(cornerRadius - half, line);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(borderColor, borderWidth));
    painter.setBrush(Qt::NoBrush);
    if (r > 0)
        painter.drawRoundedRect(line, r, r);
    else
        painter.drawRect(line);
    painter.restore();
}
