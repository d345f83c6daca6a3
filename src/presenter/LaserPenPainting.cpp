#include "LaserPenPainting.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>

namespace laserpen {

namespace {
constexpr qreal kCountdownPointSize = 120;
// What the countdown leaves free on either side, as a share of the screen's width.
constexpr qreal kCountdownSideMargin = 0.05;
} // namespace

QRectF highlightHole(QPointF pointer, double diameter)
{
    return {pointer.x() - diameter / 2, pointer.y() - diameter / 2, diameter, diameter};
}

QRectF spotRect(QPointF pointer, double diameter)
{
    return highlightHole(pointer, diameter);
}

QRectF countdownLabelRect(QSizeF view)
{
    // Centred as if 180 high, measured from the bottom: (H - 180) / 2 below it.
    const double bottomUp = (view.height() - 180) / 2;
    return {(view.width() - 600) / 2, view.height() - bottomUp - 200, 600, 200};
}

QRectF previewFigureRect(int previewIndex, double size, QSizeF view)
{
    const QPointF c(view.width() / 2, view.height() / 2);
    if (previewIndex >= 1 && previewIndex <= 3)
        return highlightHole(c, size / 3);
    if (previewIndex == 4)
        return {c.x() - 50, c.y() - size / 2, 100, size};
    return {};
}

QPainterPath highlightMask(const QRectF &area, QPointF pointer, double diameter)
{
    QPainterPath mask;
    mask.setFillRule(Qt::OddEvenFill);
    mask.addRect(area);
    mask.addEllipse(highlightHole(pointer, diameter));
    return mask;
}

void paintSpot(QPainter &p, QPointF pointer, const QColor &color, double diameter)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(spotRect(pointer, diameter));
    p.restore();
}

void paintBlackScreen(QPainter &p, const QRectF &area, const QString &countdownText)
{
    p.save();
    p.fillRect(area, Qt::black);
    if (!countdownText.isEmpty()) {
        // Bold by stroking the outline: the Chinese units come from a fallback font that
        // often has no bold face, and would stand thin beside bold digits.
        QFont font = p.font();
        font.setPointSizeF(kCountdownPointSize);
        font.setWeight(QFont::Normal);
        // A long time or a language with long units ("14 phút 59 giây") is drawn smaller
        // rather than run off the screen's sides.
        const qreal room = area.width() * (1 - 2 * kCountdownSideMargin);
        if (const qreal wide = QFontMetricsF(font, p.device()).horizontalAdvance(countdownText); wide > room)
            font.setPointSizeF(kCountdownPointSize * room / wide);
        const QFontMetricsF metrics(font, p.device());
        const QRectF label = countdownLabelRect(area.size()).translated(area.topLeft());
        // The text is wider than the label for long times: centred on it, it may run past.
        const QPointF baseline(label.center().x() - metrics.horizontalAdvance(countdownText) / 2,
                               label.center().y() + (metrics.ascent() - metrics.descent()) / 2);
        QPainterPath text;
        text.addText(baseline, font, countdownText);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, metrics.height() / 28, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::white);
        p.drawPath(text);
    }
    p.restore();
}

qint64 countdownStartSeconds(int index, int customMinutes)
{
    const std::array<qint64, 4> minutes{15, 30, 60, customMinutes};
    const std::size_t i = index >= 0 && index < int(minutes.size()) ? std::size_t(index) : 0;
    return minutes[i] * 60;
}

qint64 countdownDeviceValue(qint64 seconds)
{
    return std::clamp<qint64>(seconds, 0, 0xffff);
}

} // namespace laserpen
