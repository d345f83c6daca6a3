#include "QXSnip.h"

#include "HRVLocalizedString.h"
#include "PZLog.h"
#include "PZString.h"
#include "QXSnipToolView.h"
#include "QXUserInfoData.h"
#include "SnipGeometry.h"
#include "desktop/FilePicker.h"
#include "overlay/OverlayWindow.h"
#include "platform/IClipboard.h"
#include "platform/IScreenGrabber.h"
#include "services/IPopupTips.h"
#include "services/ITranslationWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QUrl>

namespace {
constexpr double kDimAlpha = 0.3;
}

// One screen's dimming: the whole screen until a drag on it cuts the selection out.
class QXSnip::Overlay final : public OverlayWindow {
public:
    Overlay(QXSnip &snip, QScreen *screen, Kind kind, QImage picture)
        : OverlayWindow(screen, kind, std::move(picture), Focus::Takes), m_snip(snip)
    {
        setCursor(Qt::CrossCursor);
        connect(this, &OverlayWindow::escapePressed, this, [this] { m_snip.dismissFullWindow(); });
    }
    void setHole(const QRectF &hole)
    {
        m_hole = hole;
        update();
    }

protected:
    void paintOverlay(QPainter &p) override
    {
        QPainterPath dimmed;
        dimmed.addRect(rect());
        if (!m_hole.isEmpty()) {
            QPainterPath hole;
            hole.addRect(m_hole);
            dimmed = dimmed.subtracted(hole);
        }
        paintDesktop(p, dimmed, kDimAlpha);
    }
    void mousePressEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::LeftButton)
            m_snip.mouseDown(e->globalPosition());
    }
    void mouseMoveEvent(QMouseEvent *e) override
    {
        if (e->buttons() & Qt::LeftButton)
            m_snip.mouseDragged(e->globalPosition());
    }
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::LeftButton)
            m_snip.mouseUp();
    }

private:
    QXSnip &m_snip;
    QRectF m_hole;
};

QXSnip::QXSnip(Deps deps) : m_deps(std::move(deps))
{
    Q_ASSERT(m_deps.scheduler);
}

QXSnip::~QXSnip()
{
    const std::vector<QPointer<Overlay>> overlays = m_overlays;
    dismissFullWindow();
    // Now: no event loop may come to the deferred deletion.
    for (const QPointer<Overlay> &o : overlays)
        delete o.data();
}

QList<QScreen *> QXSnip::screens() const
{
    return m_deps.screens ? m_deps.screens() : QGuiApplication::screens();
}

QXSnipToolView &QXSnip::toolView()
{
    if (!m_toolView) {
        m_toolView = std::make_unique<QXSnipToolView>();
        m_toolView->hide();
        m_toolView->btnClickedBlock = [this](int tag) { toolSelectedWithIndex(tag); };
    }
    return *m_toolView;
}

QList<QWidget *> QXSnip::overlays() const
{
    QList<QWidget *> out;
    for (const QPointer<Overlay> &o : m_overlays)
        if (o)
            out << o.data();
    return out;
}

void QXSnip::notAvailable()
{
    qxLogOnce(QStringLiteral("snip:unavailable"),
              QStringLiteral("screen capture is not available in this session: no picture of the screen can be taken"));
    if (m_deps.tips)
        m_deps.tips->showTipMessage(hrvAppLocalizedString(QStringLiteral("截图在此会话中不可用")),
                                    QStringLiteral("error_icon"));
}

void QXSnip::startSnip()
{
    if (m_isSniping)
        return;
    platform::IScreenGrabber *grabber = m_deps.overlays.grabber;
    if (!grabber || !grabber->isAvailable()) {
        notAvailable();
        return;
    }
    m_isSniping = true;
    m_isStart = false;
    m_released = false;
    m_currentIndex = -1;
    // A new capture never works on the last one's rectangle.
    m_imageRect = QRectF();
    bool hidden = false;
    if (m_deps.translation && m_deps.translation->isShow()) {
        m_deps.translation->dismissWindow();
        hidden = true;
    }
    if (m_deps.state)
        m_deps.state->setIsScreenshotsTranslate(true);
    if (QWidget *main = m_deps.mainWindow ? m_deps.mainWindow() : nullptr;
        main && main->isVisible() && QApplication::activeWindow() != main) {
        main->hide();
        hidden = true;
    }
    if (m_deps.overlays.escape)
        m_escape = m_deps.overlays.escape->acquire([this] { dismissFullWindow(); });
    const OverlayWindow::Kind kind = m_deps.overlays.kindNow();
    if (kind == OverlayWindow::Kind::Translucent) {
        createFullWindow(kind, {});
        return;
    }
    // The picture must not show the windows just hidden: give them time to go.
    if (!hidden) {
        grabAndShow();
        return;
    }
    m_settle = m_deps.scheduler->singleShot(kSettleMs, [this, alive = std::weak_ptr<int>(m_alive)] {
        if (alive.expired())
            return;
        m_settle = Scheduler::kNoTimer;
        grabAndShow();
    });
}

void QXSnip::grabAndShow()
{
    std::vector<QImage> pictures;
    for (QScreen *screen : screens()) {
        pictures.push_back(m_deps.overlays.grabber->grab(screen));
        if (pictures.back().isNull()) {
            qxWarning("snip") << "no picture of the screen" << (screen ? screen->name() : QString())
                              << "could be taken; the capture does not start";
            dismissFullWindow();
            notAvailable();
            return;
        }
    }
    createFullWindow(OverlayWindow::Kind::Snapshot, pictures);
}

void QXSnip::createFullWindow(OverlayWindow::Kind kind, const std::vector<QImage> &pictures)
{
    const QList<QScreen *> list = screens();
    for (int i = 0; i < list.size(); ++i) {
        auto *overlay = new Overlay(*this, list[i], kind, i < int(pictures.size()) ? pictures[size_t(i)] : QImage());
        m_overlays.emplace_back(overlay);
        overlay->showOverScreen();
        overlay->activateWindow();
    }
}

void QXSnip::mouseDown(QPointF global)
{
    if (!m_isSniping || m_released)
        return;
    for (size_t i = 0; i < m_overlays.size(); ++i) {
        Overlay *overlay = m_overlays[i];
        QScreen *screen = overlay ? overlay->targetScreen() : nullptr;
        if (!screen || !QRectF(screen->geometry()).contains(global))
            continue;
        for (const QPointer<Overlay> &o : m_overlays)
            if (o)
                o->setHole({});
        m_currentIndex = int(i);
        m_startPoint = global - QPointF(screen->geometry().topLeft());
        m_imageRect = QRectF();
        m_isStart = true;
        return;
    }
    // A screen that came during the capture has no overlay: nothing to select on.
}

void QXSnip::mouseDragged(QPointF global)
{
    if (!m_isStart || m_currentIndex < 0 || size_t(m_currentIndex) >= m_overlays.size())
        return;
    Overlay *overlay = m_overlays[size_t(m_currentIndex)];
    QScreen *screen = overlay ? overlay->targetScreen() : nullptr;
    // Off the start screen the selection waits for the pointer to come back.
    if (!screen || !QRectF(screen->geometry()).contains(global))
        return;
    m_imageRect = snipgeometry::selection(m_startPoint, global - QPointF(screen->geometry().topLeft()));
    overlay->setHole(m_imageRect);
}

void QXSnip::mouseUp()
{
    if (!m_isStart)
        return;
    m_isStart = false;
    m_released = true; // one drag per capture
    Overlay *overlay = size_t(m_currentIndex) < m_overlays.size() ? m_overlays[size_t(m_currentIndex)].data() : nullptr;
    if (!overlay)
        return;
    QXSnipToolView &bar = toolView();
    bar.setParent(overlay);
    bar.placeFor(m_imageRect.isEmpty() ? QRectF(m_startPoint, m_startPoint) : m_imageRect);
    bar.show();
    bar.raise();
}

QImage QXSnip::savePicture()
{
    if (m_imageRect.isEmpty() || m_currentIndex < 0 || size_t(m_currentIndex) >= m_overlays.size())
        return {};
    Overlay *overlay = m_overlays[size_t(m_currentIndex)];
    QScreen *screen = overlay ? overlay->targetScreen() : nullptr;
    if (!screen)
        return {};
    // With a compositor the screen is taken now: the selection lies in the overlay's
    // clear hole, so the dimming is not in it.
    const QImage picture =
        overlay->kind() == OverlayWindow::Kind::Snapshot ? overlay->snapshot() : m_deps.overlays.grabber->grab(screen);
    if (picture.isNull()) {
        qxWarning("snip") << "no picture of the screen" << screen->name() << "could be taken";
        return {};
    }
    const QRect pixels = snipgeometry::cropRect(m_imageRect, picture.devicePixelRatio(), picture.size());
    if (pixels.isEmpty())
        return {};
    QImage crop = picture.copy(pixels);
    crop.setDevicePixelRatio(1);
    return crop;
}

void QXSnip::toolSelectedWithIndex(int index)
{
    switch (index) {
    case QXSnipToolView::kRecognise:
    case QXSnipToolView::kTranslate: {
        const QImage crop = savePicture();
        dismissFullWindow();
        if (crop.isNull())
            return;
        if (m_deps.setIsScreenshotsOCR)
            m_deps.setIsScreenshotsOCR(index == QXSnipToolView::kRecognise);
        if (m_deps.translateImage)
            m_deps.translateImage(crop);
        return;
    }
    case QXSnipToolView::kSave: {
        const QImage crop = savePicture();
        dismissFullWindow();
        if (!crop.isNull())
            save(crop);
        return;
    }
    case QXSnipToolView::kCopy: {
        const QImage crop = savePicture();
        // Nothing picked: nothing copied and no word of success.
        if (!crop.isNull()) {
            if (m_deps.clipboard && m_deps.clipboard->setImage(crop)) {
                if (m_deps.tips)
                    m_deps.tips->showTipMessage(hrvAppLocalizedString(QStringLiteral("复制成功")),
                                                QStringLiteral("success_icon"));
            } else {
                qxWarning("snip") << "the clipboard did not take the captured image";
            }
        }
        dismissFullWindow();
        return;
    }
    case QXSnipToolView::kCancel:
        dismissFullWindow();
        return;
    default:
        return;
    }
}

void QXSnip::save(const QImage &image)
{
    FilePicker *files = m_deps.files ? m_deps.files() : nullptr;
    if (!files) {
        qxWarning("snip") << "no save panel to ask for a file name; the capture is not saved";
        return;
    }
    FilePicker::Request request;
    request.mode = FilePicker::Mode::SaveFile;
    request.suggestedName = pz::getTimeStr() + QStringLiteral(".png");
    request.nameFilters = {QStringLiteral("*.png")};
    // The folder was stored as a plain path or as a file URL.
    QString folder = m_deps.state ? m_deps.state->screenshotsPath() : QString();
    if (folder.startsWith(QLatin1String("file:")))
        folder = QUrl(folder).toLocalFile();
    request.directory = folder;
    // The dialog asks before an existing file is replaced.
    files->pick(
        request, [image, tips = m_deps.tips, alive = std::weak_ptr<int>(m_alive)](const std::optional<QString> &path) {
            if (!path || alive.expired())
                return;
            QDir().mkpath(QFileInfo(*path).absolutePath());
            if (image.save(*path, "PNG"))
                return;
            qxWarning("snip") << "cannot write the capture to" << *path << "- check that the folder can be written";
            if (tips)
                tips->showTipMessage(hrvAppLocalizedString(QStringLiteral("保存失败")), QStringLiteral("error_icon"));
        });
}

void QXSnip::dismissFullWindow()
{
    m_isSniping = false;
    m_isStart = false;
    m_released = false;
    if (m_settle != Scheduler::kNoTimer) {
        m_deps.scheduler->cancel(m_settle);
        m_settle = Scheduler::kNoTimer;
    }
    if (m_toolView) {
        m_toolView->hide();
        m_toolView->setParent(nullptr);
    }
    // Later: a tool's click is still being handled inside one of them.
    for (const QPointer<Overlay> &o : m_overlays)
        if (o) {
            o->hide();
            o->deleteLater();
        }
    m_overlays.clear();
    if (m_escape != EscapeArbiter::kNoToken && m_deps.overlays.escape)
        m_deps.overlays.escape->release(m_escape);
    m_escape = EscapeArbiter::kNoToken;
}
