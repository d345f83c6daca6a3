#pragma once

#include "Scheduler.h"
#include "overlay/EscapeArbiter.h"
#include "overlay/OverlayServices.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QRectF>

#include <functional>
#include <memory>
#include <vector>

class FilePicker;
class IPopupTips;
class ITranslationWindow;
class QScreen;
class QXSnipToolView;
class QXUserInfoData;
namespace platform {
class IClipboard;
}

// The screen capture of screenshot translation: every screen dimmed by an overlay, one
// drag on one screen picks a rectangle (shown undimmed), then a tool bar under it
// recognises the text in it, recognises and translates, saves it as PNG, copies it, or
// cancels. Escape (the arbiter's key) ends it at any time.
//
// With a compositing manager the overlays are translucent and the picture is taken
// when a tool is chosen. Without one, clear overlays would show black, so every screen
// is grabbed when the capture starts and the overlays show that picture, dimmed: the
// image is then the screen as it was at the start. Main thread.
class QXSnip {
public:
    struct Deps {
        QXUserInfoData *state = nullptr;           // isScreenshotsTranslate, screenshotsPath
        ITranslationWindow *translation = nullptr; // closed when a capture starts
        std::function<void(bool)> setIsScreenshotsOCR;
        std::function<void(const QImage &)> translateImage;
        IPopupTips *tips = nullptr;
        platform::IClipboard *clipboard = nullptr;
        std::function<FilePicker *()> files;   // the save panel
        std::function<QWidget *()> mainWindow; // hidden at the start unless in use
        OverlayServices overlays;
        Scheduler *scheduler = nullptr; // required: the pause before the screen is grabbed
        // Else QGuiApplication::screens().
        std::function<QList<QScreen *>()> screens;
    };
    // How long hidden windows get to leave the screen before it is grabbed.
    static constexpr int kSettleMs = 150;

    explicit QXSnip(Deps deps);
    ~QXSnip();
    QXSnip(const QXSnip &) = delete;
    QXSnip &operator=(const QXSnip &) = delete;

    // Starts a capture; ignored while one runs.
    void startSnip();
    // Ends the capture (every tool and Escape come here).
    void dismissFullWindow();
    // Runs a tool by tag (QXSnipToolView::Tool); other values do nothing.
    void toolSelectedWithIndex(int index);

    // The pointer, in global points: the overlays send their presses, drags and releases
    // here. A press where no overlay is, and everything after the release, is ignored.
    void mouseDown(QPointF global);
    void mouseDragged(QPointF global);
    void mouseUp();

    bool isSniping() const { return m_isSniping; }
    bool isStart() const { return m_isStart; }
    // The selection, in points of the current screen (top-left origin).
    QRectF imageRect() const { return m_imageRect; }
    int currentScreenIndex() const { return m_currentIndex; }
    // The overlays of the running capture, one per screen in the screen list's order.
    QList<QWidget *> overlays() const;
    QXSnipToolView &toolView();

    // The selection cut out of its screen's picture; null without a selection or a picture.
    QImage savePicture();

private:
    class Overlay;
    void createFullWindow(OverlayWindow::Kind kind, const std::vector<QImage> &pictures);
    void grabAndShow();
    void save(const QImage &image);
    QList<QScreen *> screens() const;
    void notAvailable();

    Deps m_deps;
    bool m_isSniping = false;
    bool m_isStart = false;
    bool m_released = false;
    int m_currentIndex = -1;
    QPointF m_startPoint;
    QRectF m_imageRect;
    std::vector<QPointer<Overlay>> m_overlays;
    std::unique_ptr<QXSnipToolView> m_toolView;
    EscapeArbiter::Token m_escape = EscapeArbiter::kNoToken;
    Scheduler::TimerId m_settle = Scheduler::kNoTimer;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
