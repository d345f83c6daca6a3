#include "LaserPenOverlays.h"

#include "QXDrawView.h"

#include "PZLog.h"
#include "platform/IScreenGrabber.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace {
LaserPenOverlays::Deps withDefaults(LaserPenOverlays::Deps d)
{
    if (!d.pointer)
        d.pointer = [] { return QCursor::pos(); };
    if (!d.screen)
        d.screen = [] { return QGuiApplication::primaryScreen(); };
    return d;
}
} // namespace

LaserPenOverlays::LaserPenOverlays(Deps deps)
    : m_d(withDefaults(std::move(deps))),
      m_pen({m_d.overlays, [p = m_d.pointer] { return QPointF(p()); }, m_d.screen, m_d.scheduler}),
      m_loupe({m_d.overlays, [p = m_d.pointer] { return QPointF(p()); }, {}, m_d.mainWindow, m_d.scheduler})
{
}

LaserPenOverlays::~LaserPenOverlays()
{
    delete m_effect.data();
    delete m_black.data();
}

bool LaserPenOverlays::available() const
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        qxLogOnce(QStringLiteral("pointer-wayland"),
                  QStringLiteral("[pointer] screen effects are not available in a native Wayland session"));
        return false;
    }
    return m_d.screen() != nullptr;
}

void LaserPenOverlays::drop(QPointer<PointerOverlay> &window)
{
    if (PointerOverlay *w = window.data()) {
        w->hide();
        w->deleteLater();
    }
    window.clear();
}

PointerOverlay *LaserPenOverlays::make(PointerOverlay::Effect effect, PointerOverlay::Look look)
{
    QScreen *screen = m_d.screen();
    const OverlayWindow::Kind kind =
        effect == PointerOverlay::Effect::Black ? OverlayWindow::Kind::Snapshot : m_d.overlays.kindNow();
    QImage snapshot;
    if (effect != PointerOverlay::Effect::Black && kind == OverlayWindow::Kind::Snapshot) {
        // Without a compositor the effect paints the screen as it is now; without a
        // picture it would black the whole screen out, so it is not shown.
        if (m_d.overlays.grabber)
            snapshot = m_d.overlays.grabber->grab(screen);
        if (snapshot.isNull()) {
            qxLogOnce(QStringLiteral("pointer-no-picture"),
                      QStringLiteral("[pointer] no picture of the screen and no compositor: the effect is not shown"));
            return nullptr;
        }
    }
    auto *window = new PointerOverlay(screen, kind, std::move(snapshot), effect, look);
    // The window covers the screen: the pointer in its coordinates before the first move.
    window->setPointer(QPointF(m_d.pointer()) - QPointF(screen->geometry().topLeft()));
    window->showOverScreen();
    return window;
}

void LaserPenOverlays::highlighted(double maskAlpha, double diameter)
{
    drop(m_effect);
    if (available())
        m_effect = make(PointerOverlay::Effect::Highlight, {maskAlpha, diameter, {}});
}

void LaserPenOverlays::showDigitalLightSpot(const QColor &color, double diameter)
{
    drop(m_effect);
    if (available())
        m_effect = make(PointerOverlay::Effect::Spot, {0, diameter, color});
}

void LaserPenOverlays::hideHighlighted()
{
    drop(m_effect);
}

// The loupe magnifies by 1.5 whatever the stored pixel setting says.
void LaserPenOverlays::zoomIn(double circleWidth)
{
    if (available())
        m_loupe.zoomInPixelZoom(1.5, circleWidth);
}

void LaserPenOverlays::dismissZoom()
{
    m_loupe.dismiss();
}

void LaserPenOverlays::startDraw(const QColor &color, double width)
{
    if (available())
        m_pen.startDraw(color, width);
}

void LaserPenOverlays::endDraw()
{
    m_pen.endDraw();
}

void LaserPenOverlays::penMouseDown()
{
    m_pen.mouseDown();
}

void LaserPenOverlays::penMouseUp()
{
    m_pen.mouseUp();
}

void LaserPenOverlays::clearDraw()
{
    m_pen.clearDraw();
}

void LaserPenOverlays::showBlackScreen(const QString &countdownText)
{
    if (!m_black) {
        if (!available())
            return;
        m_black = make(PointerOverlay::Effect::Black, {});
        if (!m_black)
            return;
    }
    m_black->setCountdownText(countdownText);
}

void LaserPenOverlays::hideBlackScreen()
{
    drop(m_black);
}
