#include "QXDrawView.h"

#include "drawing/NamedImage.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>

#include <cmath>

QXDrawView::QXDrawView(std::function<QPointF()> pointer, Scheduler *scheduler, QWidget *parent)
    : QWidget(parent), m_pointer(std::move(pointer)), m_scheduler(scheduler)
{
    Q_ASSERT(m_scheduler);
}

QXDrawView::~QXDrawView()
{
    cancelTimer(*m_scheduler, m_timer);
}

QLabel &QXDrawView::penImageView()
{
    if (!m_penImage) {
        m_penImage = new QLabel(this);
        m_penImage->setGeometry(0, 0, kPenPictureSize, kPenPictureSize);
        m_penImage->setScaledContents(true);
        m_penImage->setPixmap(QPixmap::fromImage(namedImage(QStringLiteral("laserPenSetting_icon"))));
        m_penImage->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    return *m_penImage;
}

QPointF QXDrawView::pointer() const
{
    return mapFromGlobal(m_pointer ? m_pointer() : QPointF());
}

// The picture's lower-left corner at the pointer.
void QXDrawView::placePen(QPointF p)
{
    penImageView().move(QPoint(int(std::floor(p.x())), int(std::floor(p.y())) - kPenPictureSize));
    penImageView().show();
}

QPen QXDrawView::pen(const QColor &color, double width) const
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QRect QXDrawView::segmentRect(QPointF a, QPointF b, double width) const
{
    const double pad = width / 2 + 2;
    return QRectF(a, b).normalized().adjusted(-pad, -pad, pad, pad).toAlignedRect();
}

void QXDrawView::ensureLayers()
{
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * dpr).toSize();
    for (QImage *layer : {&m_finished, &m_live}) {
        if (layer->size() == pixels)
            continue;
        QImage fresh(pixels, QImage::Format_ARGB32_Premultiplied);
        fresh.fill(Qt::transparent);
        if (!layer->isNull()) {
            QPainter p(&fresh);
            p.drawImage(0, 0, *layer);
        }
        fresh.setDevicePixelRatio(dpr);
        *layer = fresh;
    }
}

void QXDrawView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ensureLayers();
}

void QXDrawView::mouseDown()
{
    const QPointF p = pointer();
    // A key-down during a stroke (its key-up lost) keeps what was drawn.
    mouseUp();
    m_drawPath = QPainterPath();
    m_drawPath.moveTo(p);
    m_pathReleased = false;
    cancelTimer(*m_scheduler, m_timer);
    m_timer = m_scheduler->repeating(
        kSampleMs, [this] { mouseDragged(); }, this);
    placePen(p);
    setCursor(Qt::BlankCursor);
    ensureLayers();
    // A dot already: a press without a move still marks the screen.
    QPainter layer(&m_live);
    layer.setRenderHint(QPainter::Antialiasing);
    layer.setPen(pen(m_drawColor, m_lineWidth));
    layer.drawPoint(p);
    update(segmentRect(p, p, m_lineWidth));
}

void QXDrawView::mouseDragged()
{
    if (m_pathReleased)
        return;
    const QPointF from = m_drawPath.currentPosition();
    const QPointF p = pointer();
    placePen(p);
    m_drawPath.lineTo(p);
    ensureLayers();
    QPainter layer(&m_live);
    layer.setRenderHint(QPainter::Antialiasing);
    // Replace, not blend: where the round ends of two segments overlap a translucent
    // colour stays as light as it is along the stroke.
    layer.setCompositionMode(QPainter::CompositionMode_Source);
    layer.setPen(pen(m_drawColor, m_lineWidth));
    layer.drawLine(from, p);
    update(segmentRect(from, p, m_lineWidth));
}

void QXDrawView::mouseUp()
{
    if (m_pathReleased)
        return;
    m_strokes.push_back(QXDrawPath::drawPathWithPath(m_drawPath, m_drawColor, m_lineWidth));
    m_pathReleased = true;
    cancelTimer(*m_scheduler, m_timer);
    unsetCursor();
    ensureLayers();
    {
        QPainter cache(&m_finished);
        cache.drawImage(0, 0, m_live);
    }
    m_live.fill(Qt::transparent);
}

void QXDrawView::clearDraw()
{
    cancelTimer(*m_scheduler, m_timer);
    m_pathReleased = true;
    m_strokes.clear();
    m_drawPath = QPainterPath();
    m_finished.fill(Qt::transparent);
    m_live.fill(Qt::transparent);
    setCursor(Qt::ArrowCursor);
    update();
}

void QXDrawView::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect area = event->rect();
    const qreal dpr = m_finished.devicePixelRatio();
    const QRectF source(QPointF(area.topLeft()) * dpr, QSizeF(area.size()) * dpr);
    if (!m_finished.isNull())
        p.drawImage(area, m_finished, source);
    if (!m_pathReleased && !m_live.isNull())
        p.drawImage(area, m_live, source);
}
