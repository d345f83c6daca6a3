#include "PopupGeometry.h"

#include <algorithm>
#include <cmath>

namespace popupgeometry {

namespace {
constexpr double kScrollCap = 200;
constexpr double kCardPadding = 50;
} // namespace

QRect popupFrame(const QRect &screen, int height)
{
    const int x = screen.x() + screen.width() - kPopupWidth - kRightMargin;
    const int y = screen.y() + screen.height() - kBottomOffset - height;
    return QRect(x, y, kPopupWidth, height);
}

QRect tipFrame(const QRect &screen, QSize size)
{
    size = size.expandedTo(QSize(kTipWidth, kTipHeight));
    if (!screen.isEmpty())
        size = size.boundedTo(screen.size());
    int x = screen.x() + (screen.width() - size.width()) / 2;
    int y = screen.y() + screen.height() - kBottomOffset - size.height();
    if (!screen.isEmpty()) {
        x = std::clamp(x, screen.left(), screen.right() + 1 - size.width());
        y = std::clamp(y, screen.top(), screen.bottom() + 1 - size.height());
    }
    return QRect(QPoint(x, y), size);
}

double contentHeight(double sourceCard, double translationCard, bool hasTranslation)
{
    return hasTranslation ? sourceCard + translationCard + 40 + 15 : sourceCard + 40;
}

int windowHeight(double contentHeight)
{
    // A height that is not a number (a broken measurement) keeps the smallest pop-up.
    if (!std::isfinite(contentHeight))
        return kPopupMinHeight;
    return int(std::ceil(std::max(contentHeight, double(kPopupMinHeight))));
}

WordCardHeights wordCardHeights(double textHeight)
{
    if (textHeight > kScrollCap)
        return {kScrollCap + kCardPadding, kScrollCap};
    return {textHeight + kCardPadding, textHeight};
}

} // namespace popupgeometry
