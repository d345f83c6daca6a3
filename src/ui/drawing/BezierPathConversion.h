#pragma once

#include <QPainterPath>
#include <QPointF>

#include <vector>

// A path as a list of drawing elements, quadratic curves included (QPainterPath keeps
// only cubic ones). Drawing code stores and replays strokes in this form.
struct PathElement {
    enum Kind { MoveTo, LineTo, QuadTo, CurveTo, Close };
    Kind kind;
    QPointF points[3]; // QuadTo: control, end; CurveTo: control 1, control 2, end
};

// The elements of a painter path, one for one: moves, lines, cubic curves (the
// closing line Qt adds for closeSubpath comes back as a line).
std::vector<PathElement> pathElementsFromPath(const QPainterPath &path);

// A painter path from elements. A quadratic curve with control Q and end E from the
// current point P becomes the cubic with controls P + 2/3 (Q - P) and E + 2/3 (Q - E).
QPainterPath pathFromPathElements(const std::vector<PathElement> &elements);
