#include "PenDrawing.h"

#include "PZLog.h"
#include "QXDrawView.h"
#include "platform/IScreenGrabber.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

PenDrawing::PenDrawing(Deps deps) : m_deps(std::move(deps)) {}

PenDrawing::~PenDrawing()
{
    if (m_escape != EscapeArbiter::kNoToken && m_deps.overlays.escape)
        m_deps.overlays.escape->release(m_escape);
    delete m_window.data(); // the view and its timer with it
}

bool PenDrawing::isShown() const
{
    return m_window && m_window->isVisible();
}

void PenDrawing::startDraw(const QColor &color, double width)
{
    if (isShown())
        return;
    endDraw();
    QScreen *screen = m_deps.screen ? m_deps.screen() : QGuiApplication::primaryScreen();
    platform::IScreenGrabber *grabber = m_deps.overlays.grabber;
    if (!screen || !grabber || !grabber->isAvailable()) {
        qxLogOnce(QStringLiteral("pen:unavailable"),
                  QStringLiteral("the pen cannot draw over the screen in this session"));
        return;
    }
    const OverlayWindow::Kind kind = m_deps.overlays.kindNow();
    QImage picture;
    if (kind == OverlayWindow::Kind::Snapshot) {
        picture = grabber->grab(screen);
        if (picture.isNull()) {
            qxWarning("pen") << "no picture of the screen could be taken; the drawing does not start";
            return;
        }
    }
    auto *window = new OverlayWindow(screen, kind, picture, OverlayWindow::Focus::Never);
    auto pointer = m_deps.pointer ? m_deps.pointer : [] { return QPointF(QCursor::pos()); };
    auto *view = new QXDrawView(pointer, m_deps.scheduler, window);
    view->setLineWidth(width);
    view->setDrawColor(color);
    view->setGeometry(QRect(QPoint(0, 0), screen->geometry().size()));
    m_window = window;
    m_view = view;
    window->showOverScreen();
    if (m_deps.overlays.escape)
        m_escape = m_deps.overlays.escape->acquire([this] { endDraw(); });
}

void PenDrawing::endDraw()
{
    if (m_view)
        m_view->mouseUp(); // a stroke in progress stops sampling
    if (m_window) {
        m_window->hide();
        m_window->deleteLater();
    }
    m_window = nullptr;
    m_view = nullptr;
    if (m_escape != EscapeArbiter::kNoToken && m_deps.overlays.escape)
        m_deps.overlays.escape->release(m_escape);
    m_escape = EscapeArbiter::kNoToken;
}

void PenDrawing::clearDraw()
{
    if (m_view)
        m_view->clearDraw();
    endDraw();
}

void PenDrawing::mouseDown()
{
    if (m_view)
        m_view->mouseDown();
}

void PenDrawing::mouseUp()
{
    if (m_view)
        m_view->mouseUp();
}
