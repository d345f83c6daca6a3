#include "RWProgressView.h"

#include <QEasingCurve>
#include <QPainter>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace {
// Core Animation's ease-in-ease-out.
QEasingCurve easeInEaseOut()
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}

double clampProgress(double p)
{
    if (std::isnan(p))
        return 0;
    return std::clamp(p, 0.0, 1.0);
}
} // namespace

RWProgressView::RWProgressView(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    m_animation = new QVariantAnimation(this);
    m_animation->setEasingCurve(easeInEaseOut());
    m_animation->setStartValue(0.0);
    m_animation->setEndValue(0.0);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
        m_shown = v.toDouble();
        update();
    });
}

void RWProgressView::setProgress(double progress, bool animated)
{
    m_progress = clampProgress(progress);
    m_ringProgressWidth = m_progressLineWidth;
    m_ringBackgroundWidth = m_backgroundLineWidth;
    m_ringProgressColor = m_progressLineColor;
    m_ringBackgroundColor = m_backgroundLineColor;

    m_animation->stop();
    m_animation->setStartValue(m_last);
    m_animation->setEndValue(m_progress);
    const int ms = animated && std::isfinite(m_duration) ? qMax(0, int(std::lround(m_duration * 1000))) : 0;
    m_animation->setDuration(ms);
    m_last = m_progress;
    if (ms > 0) {
        m_shown = m_animation->startValue().toDouble();
        m_animation->start();
    } else {
        m_shown = m_progress;
    }
    update();
}

void RWProgressView::setImage(const QPixmap &image)
{
    m_image = image;
    update();
}

double RWProgressView::radius() const
{
    const double w = std::max(m_ringProgressWidth, m_ringBackgroundWidth);
    const double side = std::min(width(), height());
    // A view smaller than the rings would give a negative radius.
    return std::max(0.0, side / 2 - w);
}

void RWProgressView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double r = radius();
    if (!m_image.isNull()) {
        // A picture larger than the view (a double-density one) is drawn at the view's
        // size: unscaled, it would cover the ring and hide the progress.
        const double side = std::min(width(), height());
        QSizeF s = m_image.deviceIndependentSize();
        if (s.width() > side || s.height() > side)
            s.scale(side, side, Qt::KeepAspectRatio);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QRectF(QPointF((width() - s.width()) / 2, (height() - s.height()) / 2), s), m_image,
                           QRectF(m_image.rect()));
    }
    if (r <= 0)
        return;
    // Half a pixel off, as the ring's path is.
    const QRectF ring(width() / 2.0 - r + 0.5, height() / 2.0 - r + 0.5, 2 * r, 2 * r);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(m_ringBackgroundColor, m_ringBackgroundWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawEllipse(ring);
    const double shown = clampProgress(m_shown);
    if (shown <= 0)
        return;
    painter.setPen(QPen(m_ringProgressColor, m_ringProgressWidth, Qt::SolidLine, Qt::FlatCap));
    // Qt's angles are in 1/16 degree, counter-clockwise from three o'clock.
    painter.drawArc(ring, 90 * 16, -int(std::lround(shown * 360 * 16)));
}
