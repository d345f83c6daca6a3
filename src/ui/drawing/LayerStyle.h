#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// The look of a layer-backed view: background, border and corner radius, painted in
// paintEvent. The controls keep it as plain data (not a style sheet) because the
// pressed look saves the current colours and puts them back on release.
struct LayerStyle {
    QColor backgroundColor; // invalid: no background
    QColor borderColor;     // invalid: no border
    qreal borderWidth = 0;
    qreal cornerRadius = 0;
    bool masksToBounds = false; // children are clipped to the rounded bounds

    bool hasBackground() const { return backgroundColor.isValid() && backgroundColor.alpha() > 0; }
    bool hasBorder() const { return borderWidth > 0 && borderColor.isValid() && borderColor.alpha() > 0; }

    // The rounded bounds (the radius is limited to half the shorter side).
    QPainterPath shape(const QRectF &bounds) const;
    void paintBackground(QPainter &painter, const QRectF &bounds) const;
    // The border lies inside the bounds, as a layer border does, and is drawn over
    // the layer's content.
    void paintBorder(QPainter &painter, const QRectF &bounds) const;
};
