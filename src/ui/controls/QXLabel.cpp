#include "QXLabel.h"

#include "QXBaseTextFieldCell.h"

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
        return QXBaseTextFieldCell::adjustedFrameToVerticallyCenterText(inner, font());
    // Wrapped: the lines together are centred.
    const qreal h =
        fontMetrics()
            .boundingRect(inner.toAlignedRect(), int(alignment() & Qt::AlignHorizontal_Mask) | Qt::TextWordWrap, text())
            .height();
    const qreal d = std::max<qreal>(0, (inner.height() - h) / 2);
    return inner.adjusted(0, d, 0, -d);
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
    painter.setFont(font());
    const QRectF rect = textRect();
    const bool elide = !wordWrap() && m_elide != Qt::ElideNone;
    painter.drawText(rect, flags, elide ? fontMetrics().elidedText(text(), m_elide, qRound(rect.width())) : text());
}
