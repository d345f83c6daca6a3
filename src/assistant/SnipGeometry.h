#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

// The capture's geometry, in a screen's own points with the top-left origin.
namespace snipgeometry {

inline constexpr double kToolBarWidth = 200;
inline constexpr double kToolBarHeight = 40;
inline constexpr double kToolBarGap = 10;

// The rectangle a drag from `start` to `current` spans, whichever way it went.
QRectF selection(QPointF start, QPointF current);
// The tool bar: its right edge on the selection's, its top 10 points below the
// selection's bottom. Where `screen` (not empty) has no room below, it goes 10 points
// above the selection, and with no room there either, inside the selection's bottom;
// it never leaves the screen, so its tools stay in reach.
QRectF toolBarFrame(const QRectF &selection, const QRectF &screen = {});
// The pixels of a selection in a screen picture of `bitmap` pixels at `dpr` device
// pixels per point, widened to whole pixels and cut to the picture. Empty for an
// empty selection.
QRect cropRect(const QRectF &selection, double dpr, QSize bitmap);

} // namespace snipgeometry
