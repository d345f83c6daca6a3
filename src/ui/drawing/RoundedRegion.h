#pragma once

#include <QPainterPath>
#include <QPolygon>
#include <QRectF>
#include <QRegion>

// A rounded rectangle as a region: the mask that cuts a window's corners away where no
// compositor makes them transparent.
inline QRegion qxRoundedRegion(const QRectF &bounds, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(bounds, radius, radius);
    return QRegion(path.toFillPolygon().toPolygon());
}
