// The speech pop-up's cards: no text under the wave strip, scrolled cards open on a whole line.
#include "PopupWorld.h"
#include "controls/QXTextView.h"

#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

TEST(LookPopup, FirstTranslatedLineBelowTheWaveStrip)
{
    PopupWorld w;
    w.keys.setHadStart(true);
    w.tool.showSpeechView(QString(40, 'x'), 37);
    w.tool.showYiText(QString(60, 'y'));
    const QWidget *text = w.content().yiWordView()->scrollView();
    EXPECT_GT(text->mapTo(&w.content(), QPoint()).y(), w.content().waveView()->geometry().bottom());
}

TEST(LookPopup, ScrolledCardOpensOnAWholeLine)
{
    for (const char *text : {"Hold the voice key and speak: the text appears where you type. ",
                             "今天下午三点我们在会议室讨论下个季度的产品计划，请大家提前准备好数据。"}) {
        for (int repeat : {6, 7, 9}) {
            const QString value = QString::fromUtf8(text).repeated(repeat);
            QXWordView card;
            card.resize(316, 100);
            card.setStringValue(value);
            const int top = card.scrollView()->verticalScrollBar()->value();
            const QList<qreal> lines =
                QXTextView::lineTops(value, card.textView()->font(), card.textView()->maxWidth());
            // The view's top lies in the spacing just above a line, never inside one.
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                    [&](qreal t) { return top <= t && top > t - QXTextView::kLineSpacing; }))
                << top << " " << text << " x" << repeat;
            EXPECT_EQ(top + card.scrollView()->height(), card.textView()->height()) << "the end stays in view";
        }
    }
}
