#include "QXSliderCell.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

QXSliderCell::QXSliderCell(Qt::Orientation orientation, QWidget *parent) : QSlider(orientation, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void QXSliderCell::setSliderProgressColor(const QColor &c)
{
    m_progressColor = c;
    update();
}

void QXSliderCell::setSliderBackgroundColor(const QColor &c)
{
    m_backgroundColor = c;
    update();
}

void QXSliderCell::setSliderKnobColor(const QColor &c)
{
    m_knobColor = c;
    update();
}

void QXSliderCell::setSliderHeight(qreal h)
{
    m_barHeight = h;
    update();
}

void QXSliderCell::setSliderBarRadius(qreal r)
{
    m_barRadius = r;
    update();
}

void QXSliderCell::setSliderKnobSize(qreal width, qreal height)
{
    m_knobWidth = width;
    m_knobHeight = height;
    updateGeometry();
    update();
}

double QXSliderCell::fraction() const
{
    // An empty range would divide by zero.
    if (maximum() <= minimum())
        return 0;
    return std::clamp(double(sliderPosition() - minimum()) / double(maximum() - minimum()), 0.0, 1.0);
}

QRectF QXSliderCell::barRect() const
{
    if (orientation() == Qt::Horizontal)
        return QRectF(0, (height() - m_barHeight) / 2, width(), m_barHeight);
    return QRectF((width() - m_barHeight) / 2, 0, m_barHeight, height());
}

QRectF QXSliderCell::leftBarRect() const
{
    const QRectF bar = barRect();
    if (orientation() == Qt::Horizontal)
        return QRectF(bar.topLeft(), QSizeF(qMax(0.0, fraction() * (width() - m_knobWidth)), m_barHeight));
    return QRectF(bar.topLeft(), QSizeF(m_barHeight, qMax(0.0, fraction() * (height() - m_knobHeight))));
}

QRectF QXSliderCell::knobRect() const
{
    const QRectF left = leftBarRect();
    if (orientation() == Qt::Horizontal)
        return QRectF(left.width(), left.center().y() - m_knobHeight / 2, m_knobWidth, m_knobHeight);
    return QRectF(left.center().x() - m_knobWidth / 2, left.height(), m_knobWidth, m_knobHeight);
}

int QXSliderCell::valueAt(const QPointF &point) const
{
    const bool horizontal = orientation() == Qt::Horizontal;
    const qreal knob = horizontal ? m_knobWidth : m_knobHeight;
    const qreal track = (horizontal ? width() : height()) - knob;
    if (track <= 0 || maximum() <= minimum())
        return minimum();
    const qreal along = (horizontal ? point.x() : point.y()) - knob / 2;
    const double f = std::clamp(along / track, 0.0, 1.0);
    return minimum() + int(std::lround(f * (maximum() - minimum())));
}

QSize QXSliderCell::sizeHint() const
{
    const int k = int(std::ceil(qMax(m_knobWidth, m_knobHeight)));
    return orientation() == Qt::Horizontal ? QSize(200, k) : QSize(k, 200);
}

QSize QXSliderCell::minimumSizeHint() const
{
    const QSize k(int(std::ceil(m_knobWidth)), int(std::ceil(m_knobHeight)));
    return orientation() == Qt::Horizontal ? QSize(k.width() * 2, k.height()) : QSize(k.width(), k.height() * 2);
}

void QXSliderCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_progressColor);
    painter.drawRoundedRect(barRect(), m_barRadius, m_barRadius);
    const QRectF left = leftBarRect();
    if (!left.isEmpty()) {
        painter.setBrush(m_backgroundColor);
        painter.drawRoundedRect(left, m_barRadius, m_barRadius);
    }
    painter.setBrush(m_knobColor);
    painter.drawEllipse(knobRect());
}

void QXSliderCell::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || maximum() <= minimum()) {
        QSlider::mousePressEvent(event);
        return;
    }
    event->accept();
    setSliderDown(true);
    setSliderPosition(valueAt(event->position()));
}

void QXSliderCell::mouseMoveEvent(QMouseEvent *event)
{
    if (!isSliderDown()) {
        QSlider::mouseMoveEvent(event);
        return;
    }
    event->accept();
    setSliderPosition(valueAt(event->position()));
}

void QXSliderCell::mouseReleaseEvent(QMouseEvent *event)
{
    if (!isSliderDown() || event->button() != Qt::LeftButton) {
        QSlider::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    setSliderPosition(valueAt(event->position()));
    setSliderDown(false);
}
