// The layout check's rules, each on a window made for it: what a reader sees cut,
// covered or out of reach is found, and what reads whole is not.
#include "LayoutCheck.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/TextFit.h"

#include <QScrollArea>

#include <cmath>

#include <gtest/gtest.h>

namespace {
QStringList findings(QWidget &window, const QString &kind)
{
    window.show();
    QStringList out;
    for (const LayoutFinding &f : inspectLayout(&window))
        if (f.kind == kind)
            out << f.widget;
    return out;
}

const QString kCaption = QStringLiteral("Audio transcription");
} // namespace

// The person-centre tabs under the page beside them: a widget drawn after the text,
// whether it is the label's sibling or its holder's, covers it where it paints.
TEST(ReadLayoutCheck, ATextUnderAWidgetDrawnAfterItIsCoveredWhereThatWidgetPaints)
{
    const struct {
        const char *what;
        bool holderBetween, opaque;
        int pageX;
        bool covered;
    } rows[] = {
        {"a painted sibling over the text", false, true, 60, true},
        {"a painted sibling of the label's holder", true, true, 60, true},
        {"a sibling that paints nothing there", false, false, 60, false},
        {"a painted sibling past the text's end", false, true, 300, false},
    };
    for (const auto &r : rows) {
        QWidget window;
        window.resize(400, 120);
        QWidget *holder = &window;
        if (r.holderBetween) {
            holder = new QWidget(&window);
            holder->setGeometry(0, 0, 300, 120);
        }
        auto *tab = new QXLabel(kCaption, holder);
        tab->setGeometry(20, 20, tab->fontMetrics().horizontalAdvance(kCaption) + 8, 24);
        auto *page = new QWidget(&window);
        page->setGeometry(r.pageX, 0, 100, 120);
        page->setAutoFillBackground(r.opaque);
        (new QXLabel(QStringLiteral("x"), page))->setGeometry(0, 80, 20, 20); // a child below the text
        EXPECT_EQ(findings(window, QStringLiteral("covered")).size(), r.covered ? 1 : 0) << r.what;
    }
}

// A kit button or label cuts its text with "…" at any overrun: the check gives it no
// pixel of slack the control does not give.
TEST(ReadLayoutCheck, AKitTextCutByLessThanAPixelIsClipped)
{
    for (const bool button : {true, false}) {
        for (const int extra : {0, 1}) {
            QWidget window;
            window.resize(400, 100);
            QWidget *w =
                button ? static_cast<QWidget *>(new QXButton(kCaption, &window)) : new QXLabel(kCaption, &window);
            // The smallest size the control shrinks its text to, and what of the
            // control's width is not the text's room (a label's padding).
            const qreal smallest = QFontMetricsF(textfit::fitted(w->font(), kCaption, 0)).horizontalAdvance(kCaption);
            const qreal besides = button ? w->width() - static_cast<QXButton *>(w)->titleRoom() : 2;
            w->setGeometry(0, 0, int(std::ceil(smallest) + besides) - 1 + extra, 30);
            const QStringList clipped = findings(window, QStringLiteral("clipped"));
            EXPECT_EQ(clipped.size(), extra ? 0 : 1) << button << extra;
            (void)w->grab();
            EXPECT_EQ(w->toolTip() == kCaption, extra == 0) << "the control itself cuts: " << button << extra;
        }
    }
}

// Cut with "…" and whole in its tool tip: a finding of its own, passed only where the
// exceptions name it (a name may be cut, an instruction may not).
TEST(ReadLayoutCheck, AnElidedTextPassesOnlyWhereTheExceptionsNameIt)
{
    QWidget window;
    window.resize(400, 100);
    auto *hint = new QXLabel(QStringLiteral("One hot word per line, up to twenty"), &window);
    hint->setElideMode(Qt::ElideRight);
    hint->setToolTip(hint->text());
    hint->setGeometry(0, 0, 80, 30);
    window.show();
    const QList<LayoutFinding> found = inspectLayout(&window);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found.first().kind, QStringLiteral("elided"));
    EXPECT_FALSE(isLayoutException(QStringLiteral("hotwords"), found.first()));
}

// A scrolled area that never scrolls sideways: a control past its side is out of reach.
TEST(FinLayoutCheck, AControlPastTheSideOfAnAreaThatNeverScrollsSidewaysIsOutsideIt)
{
    for (const bool sideways : {false, true}) {
        QWidget window;
        window.resize(300, 200);
        auto *area = new QScrollArea(&window);
        area->setGeometry(0, 0, 300, 200);
        area->setHorizontalScrollBarPolicy(sideways ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        auto *rows = new QWidget;
        rows->resize(600, 150);
        (new QXLabel(QStringLiteral("Browse"), rows))->setGeometry(420, 10, 80, 24);
        area->setWidget(rows);
        EXPECT_EQ(findings(window, QStringLiteral("outside-window")).size(), sideways ? 0 : 1) << sideways;
    }
}
