#include "TextFit.h"

#include <QFontMetricsF>
#include <QWidget>

namespace textfit {

namespace {
// The largest of `font` and its smaller sizes down to kMinimumScale for which `fits`
// holds; the smallest when none does.
template <typename Fits> QFont largestFitting(const QFont &font, Fits fits)
{
    if (fits(font))
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
        if (fits(smaller))
            return smaller;
    }
    return smaller;
}
} // namespace

QFont fitted(const QFont &font, const QString &text, qreal width)
{
    return largestFitting(
        font, [&](const QFont &f) { return text.isEmpty() || QFontMetricsF(f).horizontalAdvance(text) <= width; });
}

QFont fittedWrapped(const QFont &font, const QString &text, const QSizeF &box)
{
    return largestFitting(font, [&](const QFont &f) {
        const QRectF needed =
            QFontMetricsF(f).boundingRect(QRectF(0, 0, box.width(), 1e6), Qt::TextWordWrap | Qt::AlignLeft, text);
        return needed.width() <= box.width() && needed.height() <= box.height();
    });
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
