#include "TextFit.h"

#include <QFontMetricsF>
#include <QWidget>

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

void showWholeTextWhenCut(QWidget &widget, bool cut, const QString &whole, bool &autoToolTip)
{
    if (cut && (widget.toolTip().isEmpty() || autoToolTip)) {
        widget.setToolTip(whole);
        autoToolTip = true;
    } else if (!cut && autoToolTip) {
        widget.setToolTip(QString());
        autoToolTip = false;
    }
}

} // namespace textfit
