#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

// What the pointer's overlays draw, as plain functions in the overlay's own (top-left)
// coordinates, so the windows, the scenes and the tests share one drawing.
namespace laserpen {

// The clear disc of the highlight: diameter d centred on the pointer.
QRectF highlightHole(QPointF pointer, double diameter);
// The light spot's square: side d centred on the pointer.
QRectF spotRect(QPointF pointer, double diameter);
// The countdown label in a view of `view`: 600 x 200, centred as if it were 180 high.
QRectF countdownLabelRect(QSizeF view);

// The settings page's preview figure in a view of `view`: for previewIndex 1-3 the
// circle of a third of `size` in the middle (the highlight's hole, the spot, the
// loupe's ring), for 4 the pen's stroke, 100 long and `size` thick; empty otherwise.
QRectF previewFigureRect(int previewIndex, double size, QSizeF view);

// The part of `area` the highlight darkens: all of it but the hole.
QPainterPath highlightMask(const QRectF &area, QPointF pointer, double diameter);
// The light spot: a disc of `color` at the pointer.
void paintSpot(QPainter &p, QPointF pointer, const QColor &color, double diameter);
// The black screen with the countdown's text (none while there is no countdown).
void paintBlackScreen(QPainter &p, const QRectF &area, const QString &countdownText = {});

// The countdown's length in seconds: the minutes of [15, 30, 60, custom] at `index`;
// an index outside the table counts as the first entry.
qint64 countdownStartSeconds(int index, int customMinutes);
// The seconds as the receiver's 16-bit countdown field carries them.
qint64 countdownDeviceValue(qint64 seconds);

} // namespace laserpen
