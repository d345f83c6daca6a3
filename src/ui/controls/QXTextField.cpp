#include "QXTextField.h"

#include "QXBaseTextFieldCell.h"
#include "drawing/KitAppearance.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>

#include <cmath>

namespace {
// The application's style with a caret of width 0, so only the field's own caret
// shows. One instance for all fields, owned by the application object.
class NoCaretStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_TextCursorWidth)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QStyle *noCaretStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new NoCaretStyle(qxCreateApplicationStyle());
        style->setParent(qApp);
    }
    return style;
}
} // namespace

QXTextField::QXTextField(QWidget *parent) : QLineEdit(parent)
{
    setStyle(noCaretStyle());
    setFrame(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    setPalette(pal);
    updateTextMargins();
}

QXTextField::~QXTextField()
{
    stopBlinking();
}

QColor QXTextField::caretColor() const
{
    return m_caretColor.isValid() ? m_caretColor : palette().color(QPalette::Text);
}

bool QXTextField::isCaretShown() const
{
    return m_caretOn && hasFocus() && !isReadOnly();
}

void QXTextField::setCentresText(bool on)
{
    m_centres = on;
    updateTextMargins();
}

void QXTextField::updateTextMargins()
{
    if (!m_centres) {
        setTextMargins(0, 0, 0, 0);
        return;
    }
    // The inset of the centring rule, but never so deep that the line is cut off:
    // the field draws its text clipped to what the margins leave.
    const qreal lineHeight = QFontMetricsF(font()).height();
    const int fit = int(std::floor((height() - lineHeight) / 2));
    const int d = qBound(0, QXBaseTextFieldCell::verticalInset(height(), font()), qMax(0, fit));
    setTextMargins(0, d, 0, d);
}

void QXTextField::startBlinking()
{
    m_caretOn = true;
    update();
    Scheduler &scheduler = Scheduler::instance();
    cancelTimer(scheduler, m_blink);
    const int flash = QApplication::cursorFlashTime();
    if (flash <= 0)
        return; // the desktop asks for a steady caret
    m_blink = scheduler.repeating(
        flash / 2,
        [this] {
            m_caretOn = !m_caretOn;
            update();
        },
        this);
}

void QXTextField::stopBlinking()
{
    cancelTimer(Scheduler::instance(), m_blink);
    m_caretOn = false;
}

void QXTextField::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    m_caretColor = qxAccentColor();
    startBlinking();
}

void QXTextField::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    stopBlinking();
    update();
}

void QXTextField::keyPressEvent(QKeyEvent *event)
{
    QLineEdit::keyPressEvent(event);
    // Typing keeps the caret visible, as a native caret does.
    if (hasFocus())
        startBlinking();
}

void QXTextField::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    if (hasFocus())
        startBlinking();
}

void QXTextField::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    updateTextMargins();
}

void QXTextField::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateTextMargins();
}

void QXTextField::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    if (!isCaretShown())
        return;
    // cursorRect() spans the caret position with 5 px to its left for a caret of
    // width 0.
    const QRect r = cursorRect();
    QPainter painter(this);
    painter.fillRect(QRect(r.left() + 5, r.top(), 1, r.height()), caretColor());
}
