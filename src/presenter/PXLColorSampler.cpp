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

void PXLColorSamplerView::setBackdrop(const QImage &backdrop)
{
    m_backdrop = backdrop;
    update();
}

void PXLColorSamplerView::paintEvent(QPaintEvent *)
{
    const QRectF b = rect();
    const qreal dpr = devicePixelRatioF();
    const QColor text = palette().color(QPalette::Text);
    const QColor base = palette().color(QPalette::Base);
    const QPointF c = b.center();
    const double z = m_pixelZoom;
    // The magnified picture is cut to the circle by an antialiased coverage mask: a
    // clip path would leave a stair-stepped edge.
    QImage disc((QSizeF(size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    disc.setDevicePixelRatio(dpr);
    disc.fill(Qt::transparent);
    {
        QPainter d(&disc);
        if (!m_image.isNull()) {
            // Nearest neighbour: magnified pixels stay squares.
            d.setRenderHint(QPainter::SmoothPixmapTransform, false);
            d.drawImage(b, m_image, QRectF(m_image.rect()));
        }
        d.setBrush(Qt::NoBrush);
        d.setPen(QPen(text, 1));
        d.drawRect(QRectF(c.x() - z / 2, c.y() - z / 2, z, z));
        d.setPen(QPen(base, 1));
        d.drawRect(QRectF(c.x() - z / 2 - 1, c.y() - z / 2 - 1, z + 2, z + 2));
        // Composition acts only where a shape is drawn: the coverage is a whole image.
        QImage coverage(disc.size(), QImage::Format_ARGB32_Premultiplied);
        coverage.setDevicePixelRatio(dpr);
        coverage.fill(Qt::transparent);
        {
            QPainter c(&coverage);
            c.setRenderHint(QPainter::Antialiasing);
            c.setPen(Qt::NoPen);
            c.setBrush(Qt::black);
            c.drawEllipse(b);
        }
        d.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        d.drawImage(QPointF(0, 0), coverage);
    }
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    if (m_backdrop.isNull())
        p.fillRect(b, Qt::transparent);
    else
        p.drawImage(b, m_backdrop);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(QPointF(0, 0), disc);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(text, 1));
    p.drawEllipse(b.adjusted(1, 1, -1, -1));
    p.setPen(QPen(base, 1));
    p.drawEllipse(b.adjusted(0.5, 0.5, -0.5, -0.5));
}

// --- the window --------------------------------------------------------------------

PXLColorSamplerWindow::PXLColorSamplerWindow(double side, bool translucent)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint
                           | Qt::WindowDoesNotAcceptFocus),
      m_translucent(translucent), m_view(new PXLColorSamplerView(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    const int w = int(std::lround(side));
    resize(w, w);
    m_view->setGeometry(rect());
    if (translucent)
        setAttribute(Qt::WA_TranslucentBackground);
    else // until the screen under it is known, the desktop shows outside the circle
        setMask(QRegion(rect(), QRegion::Ellipse));
    setCursor(Qt::BlankCursor);
}

void PXLColorSamplerWindow::setBackdrop(const QImage &backdrop)
{
    if (m_translucent)
        return;
    if (!backdrop.isNull())
        clearMask();
    m_view->setBackdrop(backdrop);
}

// --- the sampler -------------------------------------------------------------------

PXLColorSampler::PXLColorSampler(Deps deps) : m_deps(std::move(deps))
{
    Q_ASSERT(m_deps.scheduler);
}

PXLColorSampler::~PXLColorSampler()
{
    cancelTimer(*m_deps.scheduler, m_follow);
    cancelTimer(*m_deps.scheduler, m_settle);
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
    cancelTimer(*m_deps.scheduler, m_settle);
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
    // The user magnifies what lies under our own window otherwise; it stays put away
    // afterwards. The picture waits until the window has left the screen.
    if (QWidget *main = m_deps.mainWindow ? m_deps.mainWindow() : nullptr; main && main->isVisible()) {
        main->hide();
        m_settle = m_deps.scheduler->singleShot(kSettleMs, [this, pixelZoom] {
            m_settle = Scheduler::kNoTimer;
            open(pixelZoom);
        });
        return;
    }
    open(pixelZoom);
}

void PXLColorSampler::open(double pixelZoom)
{
    platform::IScreenGrabber *grabber = m_deps.overlays.grabber;
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
    m_translucent = m_deps.overlays.kindNow() == OverlayWindow::Kind::Translucent;
    auto *window = new PXLColorSamplerWindow(m_zoomWidth, m_translucent);
    window->setPixelZoom(pixelZoom);
    window->move(int(std::floor(m.x())), int(std::floor(m.y())) - window->height());
    m_window = window;
    window->show();
    window->raise();
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
    const QPoint origin = on->first->geometry().topLeft();
    const auto cut = [&picture, origin](const QRect &global) {
        const qreal dpr = picture.devicePixelRatio();
        const QRect local = global.translated(-origin);
        QImage image((QSizeF(global.size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            // Pixel for pixel: drawn at a point, a picture of ratio 2 would come out halved.
            QPainter p(&image);
            const QRect part = QRect(local.topLeft() * dpr, image.size()).intersected(picture.rect());
            p.drawImage(QRect(part.topLeft() - local.topLeft() * dpr, part.size()), picture, part);
        }
        image.setDevicePixelRatio(dpr);
        return image;
    };
    const QImage image = cut(capture);
    if (!m_translucent)
        m_window->setBackdrop(cut(m_window->geometry()));
    m_window->view().setImage(image);
}
