// The layout check's rules, each on a window made for it.
#include "LayoutCheck.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/TextFit.h"

#include <QScrollArea>

#include <cmath>

#include <gtest/gtest.h>

namespace {
// The findings of a kind on the window, shown.
QList<LayoutFinding> found(QWidget &window, const QString &kind)
{
    window.show();
    QList<LayoutFinding> out = inspectLayout(&window);
    out.removeIf([&](const LayoutFinding &f) { return f.kind != kind; });
    return out;
}

const QString kCaption = QStringLiteral("Audio transcription");
} // namespace

// The person-centre tabs under the page beside them: a widget drawn after the text,
// the label's sibling or its holder's, covers it where it paints.
TEST(ReadLayoutCheck, ATextUnderAWidgetDrawnAfterItIsCoveredWhereThatWidgetPaints)
{
    const struct {
        const char *what;
        bool holderBetween, opaque;
        bool covered;
    } rows[] = {
        {"a painted sibling over the text", false, true, true},
        {"a painted sibling of the label's holder", true, true, true},
        {"a sibling that paints only below the text", false, false, false},
    };
    for (const auto &r : rows) {
        QWidget window;
        QWidget *holder = r.holderBetween ? new QWidget(&window) : &window;
        holder->resize(400, 120);
        auto *tab = new QXLabel(kCaption, holder);
        tab->setGeometry(20, 20, tab->fontMetrics().horizontalAdvance(kCaption) + 8, 24);
        auto *page = new QWidget(&window);
        page->setGeometry(60, 0, 100, 120);
        page->setAutoFillBackground(r.opaque);
        (new QXLabel(QStringLiteral("x"), page))->setGeometry(0, 80, 20, 20);
        EXPECT_EQ(found(window, QStringLiteral("covered")).size(), r.covered ? 1 : 0) << r.what;
    }
}

// A kit button or label cuts its text with "…" at any overrun (and says so in its tool
// tip): the check gives no pixel of slack the control does not give. Cut on purpose
// with the whole text in the tool tip is a finding of its own, passed only where the
// exceptions name it (a name may be cut, an instruction may not).
TEST(ReadLayoutCheck, AKitTextCutByAnyOverrunIsFoundAndAnElidedOnePassesOnlyWhereNamed)
{
    for (const bool button : {true, false}) {
        for (const int extra : {0, 1}) {
            QWidget window;
            QWidget *w =
                button ? static_cast<QWidget *>(new QXButton(kCaption, &window)) : new QXLabel(kCaption, &window);
            // At the smallest size the control shrinks to; a label pads its text by 2.
            const qreal smallest = QFontMetricsF(textfit::fitted(w->font(), kCaption, 0)).horizontalAdvance(kCaption);
            const qreal besides = button ? w->width() - static_cast<QXButton *>(w)->titleRoom() : 2;
            w->setGeometry(0, 0, int(std::ceil(smallest) + besides) - 1 + extra, 30);
            EXPECT_EQ(found(window, QStringLiteral("clipped")).size(), extra ? 0 : 1) << button << extra;
            (void)w->grab();
            EXPECT_EQ(w->toolTip() == kCaption, extra == 0) << "the control itself cuts: " << button << extra;
        }
    }
    QWidget window;
    auto *hint = new QXLabel(QStringLiteral("One hot word per line, up to twenty"), &window);
    hint->setElideMode(Qt::ElideRight);
    hint->setToolTip(hint->text());
    hint->setGeometry(0, 0, 80, 30);
    const QList<LayoutFinding> elided = found(window, QStringLiteral("elided"));
    ASSERT_EQ(elided.size(), 1);
    EXPECT_FALSE(isLayoutException(QStringLiteral("hotwords"), elided.first()));
}

// A scrolled area that never scrolls sideways: a control past its side is out of reach.
TEST(FinLayoutCheck, AControlPastTheSideOfAnAreaThatNeverScrollsSidewaysIsOutsideIt)
{
    for (const bool sideways : {false, true}) {
        QWidget window;
        auto *area = new QScrollArea(&window);
        area->setGeometry(0, 0, 300, 200);
        area->setHorizontalScrollBarPolicy(sideways ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        auto *rows = new QWidget;
        rows->resize(600, 150);
        (new QXLabel(QStringLiteral("Browse"), rows))->setGeometry(420, 10, 80, 24);
        area->setWidget(rows);
        window.resize(300, 200);
        EXPECT_EQ(found(window, QStringLiteral("outside-window")).size(), sideways ? 0 : 1) << sideways;
    }
}
