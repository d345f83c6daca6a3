#include "OverlayWindow.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

OverlayWindow::OverlayWindow(QScreen *screen, Kind kind, QImage snapshot, Focus focus, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_screen(screen), m_kind(kind),
      m_snapshot(std::move(snapshot))
{
    if (focus == Focus::Never) {
        setWindowFlag(Qt::WindowDoesNotAcceptFocus);
        setAttribute(Qt::WA_ShowWithoutActivating);
    }
    if (m_kind == Kind::Translucent) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_NoSystemBackground);
    } else {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    if (screen) {
        setScreen(screen);
        setGeometry(screen->geometry());
    }
}

OverlayWindow::~OverlayWindow() = default;

void OverlayWindow::showOverScreen()
{
    if (!m_screen)
        return;
    setGeometry(m_screen->geometry());
    // Not showFullScreen(): it activates the window, which one that never takes the
    // focus must not ask for.
    setWindowState(windowState() | Qt::WindowFullScreen);
    setVisible(true);
    raise();
    if (!testAttribute(Qt::WA_ShowWithoutActivating))
        activateWindow();
}

void OverlayWindow::paintDesktop(QPainter &p, const QRectF &area, qreal dimAlpha) const
{
    QPainterPath path;
    path.addRect(area);
    paintDesktop(p, path, dimAlpha);
}

void OverlayWindow::paintDesktop(QPainter &p, const QPainterPath &area, qreal dimAlpha) const
{
    const QColor dim(0, 0, 0, qBound(0, qRound(dimAlpha * 255), 255));
    p.save();
    p.setClipPath(area, Qt::IntersectClip);
    if (m_kind == Kind::Translucent) {
        // Replace, not blend: a clear part must end up clear even over earlier paint.
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillPath(area, dim);
    } else {
        const QRectF bounds = area.boundingRect();
        if (m_snapshot.isNull()) {
            p.fillPath(area, Qt::black);
        } else {
            const qreal dpr = m_snapshot.devicePixelRatio();
            p.drawImage(bounds, m_snapshot, QRectF(bounds.topLeft() * dpr, bounds.size() * dpr));
        }
        if (dim.alpha() > 0)
            p.fillPath(area, dim);
    }
    p.restore();
}

void OverlayWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintDesktop(p, QRectF(rect()));
    paintOverlay(p);
}

void OverlayWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        emit escapePressed();
        return;
    }
    QWidget::keyPressEvent(event);
}

void OverlayWindow::paintOverlay(QPainter &) {}
