#include "QXBaseTextFieldCell.h"

#include <QFontMetricsF>

#include <cmath>

int QXBaseTextFieldCell::verticalInset(qreal height, const QFont &font)
{
    if (!std::isfinite(height))
        return 0;
    const QFontMetricsF metrics(font);
    return int(std::floor(height / 2 - (metrics.ascent() - metrics.descent()))) + 2;
}

QRectF QXBaseTextFieldCell::adjustedFrameToVerticallyCenterText(const QRectF &rect, const QFont &font)
{
    const int d = verticalInset(rect.height(), font);
    return rect.adjusted(0, d, 0, -d);
}
