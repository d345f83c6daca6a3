#pragma once

#include "views/QXBaseView.h"

#include <QColor>
#include <QString>

#include <algorithm>
#include <functional>

class QScrollArea;
class QXTextView;

// A rounded text card that sizes itself to its text: it wants the laid-out text
// height plus 50, and past 200 px of text it stops at 250 and the text scrolls
// (showing its end, where live text grows). The owner reads viewHeight() after
// setStringValue and gives the card that height; the width is the owner's too.
class QXWordView : public QXBaseView {
    Q_OBJECT
public:
    explicit QXWordView(QWidget *parent = nullptr);

    QString stringValue() const { return m_string; }
    // A null string is ignored. An empty one is shown and leaves the height alone.
    void setStringValue(const QString &value);

    QColor contentBgColor() const { return m_contentBgColor; }
    void setContentBgColor(const QColor &color);
    QColor textColor() const;
    void setTextColor(const QColor &color);

    double viewHeight() const { return m_viewHeight; }

    QScrollArea *scrollView() const { return m_scrollView; }
    QWidget *contentView() const { return m_contentView; }
    QXTextView *textView() const { return m_textView; }

    // Where the laid-out text height comes from; empty: the text view's measurement.
    // Tests give fixed heights, so the sizes do not depend on the installed fonts.
    void setTextMeasure(std::function<double(const QString &)> measure) { m_measure = std::move(measure); }
    // Room kept free at the text's right (from the next text on): something lies over
    // the card's corner there.
    void setTrailingInset(int inset) { m_trailingInset = std::max(inset, 0); }
    int textWidth() const;
    // Room kept free above the text, past the usual inset: something lies over the
    // card's top there. The card's height stays what its text wants.
    void setTopInset(int inset);

    // The card's soft shadow, drawn by the parent around the card's rectangle (a
    // widget cannot paint outside itself).
    static void paintShadow(QPainter &painter, const QRectF &card);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutText();

    QString m_string;
    QColor m_contentBgColor;
    double m_viewHeight = 0;
    double m_scrollHeight = 100;
    double m_textHeight = 0;
    QScrollArea *m_scrollView = nullptr;
    QWidget *m_contentView = nullptr;
    QXTextView *m_textView = nullptr;
    int m_trailingInset = 10;
    int m_topInset = 0;
    std::function<double(const QString &)> m_measure;
};
