#include "QXButton.h"

#include "drawing/TextFit.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {
constexpr int kImageSpacing = 4;
}

QXButton::QXButton(QWidget *parent) : QXButton(QString(), parent) {}

QXButton::QXButton(const QString &title, QWidget *parent) : QPushButton(title, parent)
{
    setFlat(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setAutoDefault(false);
}

void QXButton::setTitle(const QString &title)
{
    setText(title);
    update();
}

void QXButton::setTitleColor(const QColor &color)
{
    if (!color.isValid())
        return;
    m_titleColor = color;
    update();
}

void QXButton::setLayerStyle(const LayerStyle &style)
{
    m_layer = style;
    update();
}

void QXButton::setLayerBackgroundColor(const QColor &color)
{
    m_layer.backgroundColor = color;
    update();
}

void QXButton::setLayerBorder(const QColor &color, qreal width)
{
    m_layer.borderColor = color;
    m_layer.borderWidth = width;
    update();
}

void QXButton::setLayerBorderColor(const QColor &color)
{
    m_layer.borderColor = color;
    update();
}

void QXButton::setLayerCornerRadius(qreal radius)
{
    m_layer.cornerRadius = radius;
    update();
}

void QXButton::setImage(const QPixmap &image)
{
    m_image = image;
    updateGeometry();
    update();
}

void QXButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QPushButton::mousePressEvent(event);
        return;
    }
    event->accept();
    m_pressed = true;
    // Only colours that exist are saved; an earlier saved one stays otherwise.
    m_originalTitle = m_titleColor;
    if (m_layer.backgroundColor.isValid())
        m_originalBackground = m_layer.backgroundColor;
    if (m_layer.borderColor.isValid())
        m_originalBorder = m_layer.borderColor;
    if (m_highlightTitle.isValid())
        m_titleColor = m_highlightTitle;
    if (m_highlightBorder.isValid())
        m_layer.borderColor = m_highlightBorder;
    if (m_highlightBackground.isValid())
        m_layer.backgroundColor = m_highlightBackground;
    update();
    emit pressed();
}

void QXButton::mouseMoveEvent(QMouseEvent *event)
{
    // No tracking of whether the pointer is still inside: the release decides alone.
    event->accept();
}

void QXButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QPushButton::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    m_pressed = false;
    setTitleColor(m_originalTitle);
    if (m_originalBackground.isValid())
        m_layer.backgroundColor = m_originalBackground;
    if (m_originalBorder.isValid())
        m_layer.borderColor = m_originalBorder;
    update();
    emit released();
    click();
}

QSize QXButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    int w = text().isEmpty() ? 0 : metrics.horizontalAdvance(text()) + 16;
    int h = metrics.height() + 8;
    if (!m_image.isNull()) {
        const QSize s = m_image.deviceIndependentSize().toSize();
        w += s.width() + (text().isEmpty() ? 0 : kImageSpacing);
        h = qMax(h, s.height());
    }
    return QSize(qMax(w, h), h);
}

QSizeF QXButton::drawnImageSize() const
{
    if (m_image.isNull())
        return {};
    const QSizeF imageSize = m_image.deviceIndependentSize();
    // Scaled down proportionally to fit, never up.
    const qreal scale = qMin(qreal(1), qMin(width() / imageSize.width(), height() / imageSize.height()));
    return imageSize * scale;
}

qreal QXButton::titleRoom() const
{
    const qreal gap = (!m_image.isNull() && !text().isEmpty()) ? kImageSpacing : 0;
    return width() - drawnImageSize().width() - gap;
}

QFont QXButton::drawnTitleFont() const
{
    return textfit::fitted(font(), text(), titleRoom());
}

int QXButton::widthShowingWhole(const QString &title, int padding) const
{
    qreal w = title.isEmpty() ? 0 : QFontMetricsF(font()).horizontalAdvance(title);
    if (!m_image.isNull()) {
        // The picture keeps its size at this height whatever the width.
        const QSizeF imageSize = m_image.deviceIndependentSize();
        w += imageSize.width() * qMin(qreal(1), height() / imageSize.height()) + (title.isEmpty() ? 0 : kImageSpacing);
    }
    return int(std::ceil(w)) + 2 * padding;
}

void QXButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF bounds(rect());
    m_layer.paintBackground(painter, bounds);

    const QSizeF imageSize = drawnImageSize();
    // A title too long for the button is drawn smaller; past that it is cut, and the
    // whole title is the tool tip.
    const QFont titleFont = drawnTitleFont();
    const QFontMetricsF metrics(titleFont);
    QString title = text();
    if (!title.isEmpty() && metrics.horizontalAdvance(title) > titleRoom())
        title = metrics.elidedText(title, Qt::ElideRight, qMax(qreal(0), titleRoom()));
    const bool cut = title != text();
    textfit::showWholeTextWhenCut(*this, cut, text(), m_autoToolTip);
    const qreal textWidth = title.isEmpty() ? 0 : metrics.horizontalAdvance(title);
    const qreal gap = (!m_image.isNull() && !title.isEmpty()) ? kImageSpacing : 0;
    qreal x = (width() - imageSize.width() - gap - textWidth) / 2;
    if (!m_image.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QRectF(QPointF(x, (height() - imageSize.height()) / 2), imageSize), m_image,
                           QRectF(m_image.rect()));
        x += imageSize.width() + gap;
    }
    if (!title.isEmpty()) {
        const QColor color =
            m_titleColor.isValid()
                ? m_titleColor
                : palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
        painter.setPen(isEnabled() ? color : QColor(color.red(), color.green(), color.blue(), color.alpha() / 2));
        painter.setFont(titleFont);
        painter.drawText(QRectF(x, 0, textWidth + 1, height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         title);
    }
    m_layer.paintBorder(painter, bounds);
}
