// A caption longer than its box (a longer translation) is drawn smaller, down to three
// quarters of its font; past that it is cut and the whole text becomes the tool tip,
// which goes again when the text fits.
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

namespace {

qreal sizeOf(const QFont &font)
{
    return font.pixelSize() > 0 ? qreal(font.pixelSize()) : font.pointSizeF();
}

TEST(LookFit, CaptionsShrinkToFitThenAreCutWithTheirTextAsToolTip)
{
    const QString word = QStringLiteral("Doppelklick");
    const qreal full = QFontMetricsF(qxSystemFont(16)).horizontalAdvance(word);
    const struct {
        qreal room; // the box's width, as a share of the text's width at full size
        bool smaller, cut;
    } cases[] = {{1.2, false, false}, {0.9, true, false}, {0.5, true, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.room);
        const int width = int(full * c.room);
        QXLabel label;
        label.setFont(qxSystemFont(16));
        label.setText(word);
        label.resize(width + 2, 24); // the label keeps a 2-point padding on its left
        QXButton button(word);
        button.setFont(qxSystemFont(16));
        button.resize(width, 24);
        for (QWidget *w : {static_cast<QWidget *>(&label), static_cast<QWidget *>(&button)}) {
            (void)w->grab(); // drawn once, as when shown
            const QFont drawn = w == &label ? label.drawnFont() : button.drawnTitleFont();
            EXPECT_EQ(sizeOf(drawn) < sizeOf(w->font()), c.smaller) << w->metaObject()->className();
            EXPECT_GE(sizeOf(drawn), sizeOf(w->font()) * 0.75 - 0.5);
            EXPECT_EQ(w->toolTip(), c.cut ? word : QString()) << w->metaObject()->className();
        }
        // Room again: the tool tip the cut set goes.
        label.resize(int(full) + 10, 24);
        (void)label.grab();
        EXPECT_TRUE(label.toolTip().isEmpty());
    }
}

TEST(LookFit, AToolTipTheCodeSetStays)
{
    QXButton button(QStringLiteral("Aktualisieren des Empfängers"));
    button.setToolTip(QStringLiteral("why"));
    button.resize(30, 20);
    (void)button.grab();
    EXPECT_EQ(button.toolTip(), QStringLiteral("why"));
}

} // namespace
