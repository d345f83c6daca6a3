#pragma once

#include <QFont>
#include <QSizeF>
#include <QString>

class QWidget;

// A caption written for one language is drawn in eighteen: a translation longer than
// the box the page gave its caption is drawn a little smaller rather than cut.
namespace textfit {

// The smallest share of its font a caption shrinks to.
constexpr qreal kMinimumScale = 0.75;

// `font` when one line of `text` fits `width`; else the same font made smaller, down
// to kMinimumScale of its size, until it fits (the smallest when even that is too wide).
QFont fitted(const QFont &font, const QString &text, qreal width);

// `font`, or the same font made smaller down to kMinimumScale of its size, at which
// `text` wrapped at word breaks to `box`'s width fits the box (the smallest when none
// does): for a caption that may take two lines where one is too short.
QFont fittedWrapped(const QFont &font, const QString &text, const QSizeF &box);

// A caption drawn cut shows its whole text as `widget`'s tool tip; the tool tip goes
// again once the caption fits. A tool tip the page set itself is left alone.
// `autoToolTip` remembers whether the current tool tip is ours.
void showWholeTextWhenCut(QWidget &widget, bool cut, const QString &whole, bool &autoToolTip);

} // namespace textfit
