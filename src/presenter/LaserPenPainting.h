#pragma once

#include <QColor>
#include <QImage>
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

// The highlight over `area`: the backdrop (the frozen screen; a null image leaves the
// area transparent, for a compositor to blend) darkened by black at `alpha`, except the
// hole, which shows the backdrop unchanged (transparent without one).
void paintHighlight(QPainter &p, const QRectF &area, QPointF pointer, double alpha, double diameter,
                    const QImage &backdrop = {});
// The light spot: the backdrop (or nothing) with a disc of `color` at the pointer.
void paintSpot(QPainter &p, const QRectF &area, QPointF pointer, const QColor &color, double diameter,
               const QImage &backdrop = {});
// The black screen with the countdown's text (none while there is no countdown).
void paintBlackScreen(QPainter &p, const QRectF &area, const QString &countdownText = {});

// The countdown's length in seconds: the minutes of [15, 30, 60, custom] at `index`;
// an index outside the table counts as the first entry.
qint64 countdownStartSeconds(int index, int customMinutes);
// The seconds as the receiver's 16-bit countdown field carries them.
qint64 countdownDeviceValue(qint64 seconds);

} // namespace laserpen
