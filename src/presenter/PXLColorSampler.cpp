#include "PXLColorSampler.h"

#include "PZLog.h"
#include "platform/IScreenGrabber.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <algorithm>
#include <cmath>

// --- the view ----------------------------------------------------------------------

PXLColorSamplerView::PXLColorSamplerView(QWidget *parent) : QWidget(parent) {}

void PXLColorSamplerView::setImage(const QImage &image)
{
    m_image = image;
    update();
}

void PXLColorSamplerView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRectF b = rect();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(b, Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    QPainterPath circle;
    circle.addEllipse(b);
    p.setClipPath(circle);
    if (!m_image.isNull()) {
        // Nearest neighbour: magnified pixels stay squares.
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(b, m_image, QRectF(m_image.rect()));
    }
    const QColor text = palette().color(QPalette::Text);
    const QColor base = palette().color(QPalette::Base);
    const QPointF c = b.center();
    const double z = m_pixelZoom;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(text, 1));
    p.drawRect(QRectF(c.x() - z / 2, c.y() - z / 2, z, z));
    p.setPen(QPen(base, 1));
    p.drawRect(QRectF(c.x() - z / 2 - 1, c.y() - z / 2 - 1, z + 2, z + 2));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(text, 1));
    p.drawEllipse(b.adjusted(1, 1, -1, -1));
    p.setPen(QPen(base, 1));
    p.drawEllipse(b);
}

// --- the window --------------------------------------------------------------------

PXLColorSamplerWindow::PXLColorSamplerWindow(double side)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint
                           | Qt::WindowDoesNotAcceptFocus),
      m_view(new PXLColorSamplerView(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    const int w = int(std::lround(side));
    resize(w, w);
    m_view->setGeometry(rect());
    // Shaped: outside the circle the desktop shows, with or without a compositor.
    setMask(QRegion(rect(), QRegion::Ellipse));
    setCursor(Qt::BlankCursor);
}

// --- the sampler -------------------------------------------------------------------

PXLColorSampler::PXLColorSampler(Deps deps) : m_deps(std::move(deps))
{
    Q_ASSERT(m_deps.scheduler);
}

PXLColorSampler::~PXLColorSampler()
{
    cancelTimer(*m_deps.scheduler, m_follow);
    delete m_window.data();
}

QRect PXLColorSampler::captureRect(QPointF pointer, double side)
{
    const int s = int(std::floor(side));
    return {int(std::floor(pointer.x())) - s / 2, int(std::floor(pointer.y())) - s / 2, s, s};
}

void PXLColorSampler::drop()
{
    cancelTimer(*m_deps.scheduler, m_follow);
    // Hidden now, deleted later: a dropped window must not stay on the screen.
    if (m_window) {
        m_window->hide();
        m_window->deleteLater();
    }
    m_window = nullptr;
}

void PXLColorSampler::zoomInPixelZoom(double pixelZoom, double zoomWidth)
{
    m_zoomWidth = zoomWidth;
    drop();
    if (!(pixelZoom > 0) || !(zoomWidth >= 1))
        return;
    platform::IScreenGrabber *grabber = m_deps.overlays.grabber;
    if (!grabber || !grabber->isAvailable()) {
        qxLogOnce(QStringLiteral("loupe:unavailable"),
                  QStringLiteral("the loupe has no screen to show in this session"));
        return;
    }
    // Before the loupe shows, so it never magnifies itself.
    // A screen whose grab fails keeps its last picture.
    const QList<QScreen *> screens = m_deps.screens ? m_deps.screens() : QGuiApplication::screens();
    std::vector<std::pair<QPointer<QScreen>, QImage>> pictures;
    for (QScreen *screen : screens) {
        QImage picture = grabber->grab(screen);
        for (const auto &[was, last] : m_pictures)
            if (picture.isNull() && was == screen)
                picture = last;
        pictures.emplace_back(screen, picture);
    }
    m_pictures = std::move(pictures);
    const QPointF m = m_deps.pointer ? m_deps.pointer() : QPointF(QCursor::pos());
    auto *window = new PXLColorSamplerWindow(zoomWidth);
    window->setPixelZoom(pixelZoom);
    window->move(int(std::floor(m.x())), int(std::floor(m.y())) - window->height());
    m_window = window;
    window->show();
    window->raise();
    if (QWidget *main = m_deps.mainWindow ? m_deps.mainWindow() : nullptr)
        main->hide();
    m_sampled = false;
    m_follow = m_deps.scheduler->repeating(
        kFollowMs, [this] { sample(); }, window);
}

void PXLColorSampler::dismiss()
{
    drop();
}

void PXLColorSampler::sample()
{
    if (!m_window)
        return;
    const QPointF m = m_deps.pointer ? m_deps.pointer() : QPointF(QCursor::pos());
    if (m_sampled && m == m_lastPointer)
        return;
    m_sampled = true;
    m_lastPointer = m;
    const auto on = std::find_if(m_pictures.begin(), m_pictures.end(), [m](const auto &shot) {
        return shot.first && QRectF(shot.first->geometry()).contains(m);
    });
    if (on == m_pictures.end())
        return; // off every screen: no sample
    const QImage &picture = on->second;
    const QRect capture = captureRect(m, m_zoomWidth / m_window->pixelZoom());
    m_window->move(int(std::floor(m.x())) - m_window->width() / 2, int(std::floor(m.y())) - m_window->height() / 2);
    if (picture.isNull())
        return; // the last image stays
    // Cut from the screen's picture; what lies off the screen stays transparent.
    const qreal dpr = picture.devicePixelRatio();
    const QRect local = capture.translated(-on->first->geometry().topLeft());
    QImage image((QSizeF(capture.size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        const QRect part = QRect(local.topLeft() * dpr, image.size()).intersected(picture.rect());
        p.drawImage(part.topLeft() - local.topLeft() * dpr, picture, part);
    }
    m_window->view().setImage(image);
}
