#include "QXLabel.h"

#include "QXBaseTextFieldCell.h"
#include "drawing/TextFit.h"

#include <QPainter>
#include <QTextDocument>

#include <algorithm>

namespace {
// The horizontal padding of a text cell: text never touches the edges.
constexpr qreal kTextPadding = 2;
} // namespace

QXLabel::QXLabel(QWidget *parent) : QXLabel(QString(), parent) {}

QXLabel::QXLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
}

QColor QXLabel::textColor() const
{
    return palette().color(QPalette::WindowText);
}

void QXLabel::setTextColor(const QColor &color)
{
    if (!color.isValid())
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
}

void QXLabel::setBackgroundColor(const QColor &color)
{
    m_background = color;
    update();
}

void QXLabel::setElideMode(Qt::TextElideMode mode)
{
    m_elide = mode;
    update();
}

QRectF QXLabel::textRect() const
{
    const QRectF inner = QRectF(contentsRect()).adjusted(kTextPadding, 0, -kTextPadding, 0);
    if (!wordWrap())
        return QXBaseTextFieldCell::adjustedFrameToVerticallyCenterText(inner, drawnFont());
    // Wrapped: the lines together are centred.
    const qreal h =
        fontMetrics()
            .boundingRect(inner.toAlignedRect(), int(alignment() & Qt::AlignHorizontal_Mask) | Qt::TextWordWrap, text())
            .height();
    const qreal d = std::max<qreal>(0, (inner.height() - h) / 2);
    return inner.adjusted(0, d, 0, -d);
}

int QXLabel::wrappedHeight(int labelWidth) const
{
    const QMargins margins = contentsMargins();
    const int room = std::max(0, labelWidth - margins.left() - margins.right() - 2 * int(kTextPadding));
    const QRect needed = fontMetrics().boundingRect(
        QRect(0, 0, room, 1 << 20), int(alignment() & Qt::AlignHorizontal_Mask) | Qt::TextWordWrap, text());
    return needed.height() + margins.top() + margins.bottom();
}

qreal QXLabel::textRoom() const
{
    // The text is not clipped to its padding, only to the label: a left- or
    // right-aligned line may use the padding on its far side.
    const Qt::Alignment horizontal = alignment() & Qt::AlignHorizontal_Mask;
    const bool centred = horizontal & (Qt::AlignHCenter | Qt::AlignJustify);
    return contentsRect().width() - (centred ? 0 : kTextPadding);
}

QFont QXLabel::drawnFont() const
{
    if (wordWrap() || text().isEmpty())
        return font();
    QString widest;
    qreal widestWidth = -1;
    const QFontMetricsF metrics(font());
    for (const QString &line : text().split(u'\n')) {
        if (const qreal w = metrics.horizontalAdvance(line); w > widestWidth) {
            widest = line;
            widestWidth = w;
        }
    }
    return textfit::fitted(font(), widest, textRoom());
}

bool QXLabel::drawsCut() const
{
    if (wordWrap() || text().isEmpty() || text().contains(u'\n'))
        return false;
    const qreal room = m_elide != Qt::ElideNone ? textRect().width() : textRoom();
    return QFontMetricsF(drawnFont()).horizontalAdvance(text()) > room;
}

void QXLabel::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (m_background.isValid() && m_background.alpha() > 0)
        painter.fillRect(rect(), m_background);
    if (text().isEmpty()) {
        painter.end();
        // A picture or movie label draws as a plain label does.
        if (!pixmap().isNull())
            QLabel::paintEvent(event);
        return;
    }
    int flags = int(alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextDontClip;
    if (wordWrap())
        flags |= Qt::TextWordWrap;
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    // A line longer than the label (a longer translation) is drawn smaller; past the
    // smallest size it is cut with "…" and the whole text becomes the tool tip.
    const QFont shown = drawnFont();
    painter.setFont(shown);
    const QRectF rect = textRect();
    QString line = text();
    if (drawsCut())
        line = QFontMetricsF(shown).elidedText(line, m_elide != Qt::ElideNone ? m_elide : Qt::ElideRight,
                                               m_elide != Qt::ElideNone ? rect.width() : textRoom());
    const bool cut = line != text();
    textfit::showWholeTextWhenCut(*this, cut, text(), m_autoToolTip);
    painter.drawText(rect, flags, line);
}
