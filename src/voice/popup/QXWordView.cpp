#include "QXWordView.h"

#include "PopupGeometry.h"
#include "controls/QXTextView.h"

#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kInset = 10;
constexpr double kCornerRadius = 8;
} // namespace

QXWordView::QXWordView(QWidget *parent) : QXBaseView(parent)
{
    setLayerCornerRadius(kCornerRadius);
    setContentBgColor(Qt::white);

    // No scroll bars: the wheel and the track pad still scroll it.
    m_scrollView = new QScrollArea(this);
    m_scrollView->setFrameShape(QFrame::NoFrame);
    m_scrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollView->setFocusPolicy(Qt::NoFocus);
    m_scrollView->viewport()->setAutoFillBackground(false);
    m_scrollView->setWidgetResizable(false);
    m_contentView = new QWidget;
    m_textView = new QXTextView(m_contentView);
    m_scrollView->setWidget(m_contentView);
    // The card's colour shows through (the scroll area fills its document otherwise).
    m_contentView->setAutoFillBackground(false);
    layoutText();
}

void QXWordView::setStringValue(const QString &value)
{
    if (value.isNull())
        return;
    m_string = value;
    // Measured at the width the text is drawn at (at most the text view's 300), so
    // wrapping cannot add lines that the card has no room for.
    if (textWidth() > 0)
        m_textView->setMaxWidth(std::min(QXTextView::kDefaultMaxWidth, qreal(textWidth())));
    m_textView->setString(value);
    if (value.isEmpty())
        return;
    const double h = m_measure ? m_measure(value) : m_textView->textH();
    m_textHeight = std::isfinite(h) && h > 0 ? h : 0;
    const popupgeometry::WordCardHeights heights = popupgeometry::wordCardHeights(m_textHeight);
    m_viewHeight = heights.viewHeight;
    m_scrollHeight = heights.scrollHeight;
    // A capped text shows its end; the view is shortened to start at a line's top, so
    // the card never opens on half a line. (A given measurement has no lines.)
    if (!m_measure && m_textHeight > heights.scrollHeight) {
        const double textH = std::ceil(m_textHeight);
        const QList<qreal> tops = QXTextView::lineTops(value, m_textView->font(), m_textView->maxWidth());
        const auto first =
            std::find_if(tops.begin(), tops.end(), [&](qreal top) { return textH - top <= heights.scrollHeight; });
        if (first != tops.end())
            m_scrollHeight = std::ceil(textH - *first);
    }
    layoutText();
}

void QXWordView::setContentBgColor(const QColor &color)
{
    m_contentBgColor = color;
    setLayerBackgroundColor(color);
}

QColor QXWordView::textColor() const
{
    return m_textView->textColor();
}

void QXWordView::setTextColor(const QColor &color)
{
    m_textView->setTextColor(color);
}

void QXWordView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    layoutText();
}

void QXWordView::setTopInset(int inset)
{
    m_topInset = std::max(inset, 0);
    layoutText();
}

int QXWordView::textWidth() const
{
    return std::max(0, width() - kInset - std::max(kInset, m_trailingInset));
}

void QXWordView::layoutText()
{
    const int w = textWidth();
    const int textH = int(std::ceil(m_textHeight));
    const int scrollH = int(std::ceil(m_scrollHeight));
    m_scrollView->setGeometry(kInset, kInset + m_topInset, w, scrollH);
    m_contentView->resize(w, textH);
    m_textView->setGeometry(0, 0, w, textH);
    // The end of the text stays in view. The range is set here as well: the scroll
    // area learns the new size only when a hidden card is next shown.
    QScrollBar *bar = m_scrollView->verticalScrollBar();
    bar->setRange(0, std::max(0, textH - scrollH));
    bar->setValue(bar->maximum());
    m_scrollView->horizontalScrollBar()->setRange(0, 0);
}

void QXWordView::paintShadow(QPainter &painter, const QRectF &card)
{
    // Grey 112 at 30 % spread over 2 px, as rings that fade outwards.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 2; ++i) {
        painter.setPen(QPen(QColor(112, 112, 112, 77 / (i + 1)), 1));
        const QRectF ring = card.adjusted(-i + 0.5, -i + 0.5, i - 0.5, i - 0.5);
        painter.drawRoundedRect(ring, kCornerRadius + i, kCornerRadius + i);
    }
    painter.restore();
}
