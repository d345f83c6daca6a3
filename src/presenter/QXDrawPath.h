#pragma once

#include <QColor>
#include <QPainterPath>

// One finished stroke of a pen drawing, with its own copy of the geometry.
struct QXDrawPath {
    QPainterPath drawPath; // in the pen view's coordinates
    QColor drawColor;
    double lineWidth = 0;

    static QXDrawPath drawPathWithPath(const QPainterPath &path, const QColor &color, double lineWidth)
    {
        return {path, color, lineWidth};
    }
};
