#include "BezierPathConversion.h"

std::vector<PathElement> pathElementsFromPath(const QPainterPath &path)
{
    std::vector<PathElement> out;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            out.push_back({PathElement::MoveTo, {e, {}, {}}});
            break;
        case QPainterPath::LineToElement:
            out.push_back({PathElement::LineTo, {e, {}, {}}});
            break;
        case QPainterPath::CurveToElement:
            // A curve is stored as three elements: two controls and the end point.
            if (i + 2 < path.elementCount()) {
                out.push_back({PathElement::CurveTo, {e, path.elementAt(i + 1), path.elementAt(i + 2)}});
                i += 2;
            }
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    return out;
}

QPainterPath pathFromPathElements(const std::vector<PathElement> &elements)
{
    QPainterPath path;
    for (const PathElement &e : elements) {
        switch (e.kind) {
        case PathElement::MoveTo:
            path.moveTo(e.points[0]);
            break;
        case PathElement::LineTo:
            path.lineTo(e.points[0]);
            break;
        case PathElement::CurveTo:
            path.cubicTo(e.points[0], e.points[1], e.points[2]);
            break;
        case PathElement::QuadTo: {
            const QPointF p = path.currentPosition();
            const QPointF q = e.points[0];
            const QPointF end = e.points[1];
            path.cubicTo(p + (q - p) * 2.0 / 3.0, end + (q - end) * 2.0 / 3.0, end);
            break;
        }
        case PathElement::Close:
            path.closeSubpath();
            break;
        }
    }
    return path;
}
