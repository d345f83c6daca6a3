#include "TextFit.h"

#include <QFontMetricsF>

namespace textfit {

QFont fitted(const QFont &font, const QString &text, qreal width)
{
    if (text.isEmpty() || QFontMetricsF(font).horizontalAdvance(text) <= width)
        return font;
    const bool pixels = font.pixelSize() > 0;
    const qreal size = pixels ? qreal(font.pixelSize()) : font.pointSizeF();
    QFont smaller = font;
    // Half-point (or whole-pixel) steps: the largest size that fits.
    const qreal step = pixels ? 1.0 : 0.5;
    for (qreal s = size - step; s >= size * kMinimumScale - 1e-6; s -= step) {
        if (pixels)
            smaller.setPixelSize(qRound(s));
        else
            smaller.setPointSizeF(s);
        if (QFontMetricsF(smaller).horizontalAdvance(text) <= width)
            return smaller;
    }
    return smaller;
}

} // namespace textfit
