#include "LaserPenPreviewView.h"

#include "LaserPenPainting.h"
#include "drawing/NamedImage.h"

#include <QPainter>
#include <QPainterPath>

namespace {
const QColor kRingColor(81, 81, 81);
}

LaserPenPreviewView::LaserPenPreviewView(QWidget *parent) : QWidget(parent)
{
    setFixedSize(kSize);
}

void LaserPenPreviewView::setFigure(int previewIndex, double size, const QColor &color, double maskAlpha)
{
    m_index = previewIndex;
    m_size = size;
    m_color = color;
    m_alpha = maskAlpha;
    update();
}

QRectF LaserPenPreviewView::figureRect() const
{
    return laserpen::previewFigureRect(m_index, m_size, QSizeF(size()));
}

void LaserPenPreviewView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(rect()), 12, 12);
    p.setClipPath(rounded);
    p.drawImage(QRectF(rect()), namedImage(QStringLiteral("previewImage")));
    const QRectF figure = figureRect();
    switch (m_index) {
    case 1:
        p.fillPath(laserpen::highlightMask(QRectF(rect()), figure.center(), figure.width()),
                   QColor::fromRgbF(0, 0, 0, float(std::clamp(m_alpha, 0.0, 1.0))));
        break;
    case 2:
        laserpen::paintSpot(p, figure.center(), m_color, figure.width());
        break;
    case 3:
        p.setPen(QPen(kRingColor, 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(figure.adjusted(0.5, 0.5, -0.5, -0.5));
        break;
    case 4:
        p.setPen(Qt::NoPen);
        p.setBrush(m_color);
        p.drawRoundedRect(figure, figure.height() / 2, figure.height() / 2);
        break;
    default:
        break;
    }
}
