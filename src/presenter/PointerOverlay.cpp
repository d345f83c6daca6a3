#include "PointerOverlay.h"

#include "LaserPenPainting.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

PointerOverlay::PointerOverlay(QScreen *screen, Kind kind, QImage snapshot, Effect effect, Look look)
    : OverlayWindow(screen, effect == Effect::Black ? Kind::Snapshot : kind,
                    effect == Effect::Black ? QImage() : std::move(snapshot), Focus::Never),
      m_effect(effect), m_look(look)
{
    setMouseTracking(true);
    setCursor(Qt::BlankCursor);
}

void PointerOverlay::setPointer(QPointF pointer)
{
    if (pointer == m_pointer)
        return;
    m_pointer = pointer;
    update();
}

void PointerOverlay::setCountdownText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

void PointerOverlay::paintOverlay(QPainter &p)
{
    const QRectF area(rect());
    switch (m_effect) {
    case Effect::Highlight:
        p.setRenderHint(QPainter::Antialiasing);
        paintDesktop(p, laserpen::highlightMask(area, m_pointer, m_look.diameter), m_look.maskAlpha);
        break;
    case Effect::Spot:
        laserpen::paintSpot(p, m_pointer, m_look.color, m_look.diameter);
        break;
    case Effect::Black:
        laserpen::paintBlackScreen(p, area, m_text);
        break;
    }
}

void PointerOverlay::mouseMoveEvent(QMouseEvent *event)
{
    setPointer(event->position());
}

void PointerOverlay::mousePressEvent(QMouseEvent *event)
{
    setPointer(event->position());
}
