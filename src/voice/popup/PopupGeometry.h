#pragma once

#include <QRect>

// Where the speech pop-up and the tip bubble go and how tall the pop-up's parts are:
// pure functions over the screen's rectangle in Qt's top-left desktop coordinates.
// The pop-up keeps 20 px from the right edge and its bottom 100 px above the screen's
// bottom; the tip is centred horizontally with its bottom 100 px above the bottom.
// An empty screen rectangle (no screen) gives frames near the origin, never a crash.
namespace popupgeometry {

inline constexpr int kPopupWidth = 320;
inline constexpr int kPopupMinHeight = 140;
inline constexpr int kRightMargin = 20;
inline constexpr int kBottomOffset = 100;
inline constexpr int kTipWidth = 150;
inline constexpr int kTipHeight = 180;
inline constexpr int kTipMaxWidth = 320; // a longer text wraps onto more lines

QRect popupFrame(const QRect &screen, int height);
// The tip of `size` (at least kTipWidth x kTipHeight), kept inside a screen that exists.
QRect tipFrame(const QRect &screen, QSize size = {kTipWidth, kTipHeight});

// The pop-up's content height: the source card plus 40, or with a translation both
// cards plus 55 (the wave strip between them overlaps both).
double contentHeight(double sourceCard, double translationCard, bool hasTranslation);
// The window height for a content height.
int windowHeight(double contentHeight);

// A text card for a laid-out text height h: the card wants h + 50; past 200 the text
// scrolls in a 200 px view and the card stops at 250.
struct WordCardHeights {
    double viewHeight;
    double scrollHeight;
};
WordCardHeights wordCardHeights(double textHeight);

} // namespace popupgeometry
