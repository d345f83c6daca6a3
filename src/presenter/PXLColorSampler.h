#pragma once

#include "Scheduler.h"
#include "overlay/OverlayServices.h"

#include <QImage>
#include <QPointF>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QScreen;

// The loupe's content: the captured square drawn magnified into a circle with a smooth
// edge, pixels kept as sharp squares, a small square marking the centre and two
// contrasting rims. Outside the circle: the backdrop, else nothing (transparent).
class PXLColorSamplerView : public QWidget {
public:
    explicit PXLColorSamplerView(QWidget *parent = nullptr);
    double pixelZoom() const { return m_pixelZoom; } // the centre marker's side
    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }
    // The screen under the view, at its size: what an opaque window shows around the circle.
    void setBackdrop(const QImage &backdrop);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    double m_pixelZoom = 5;
    QImage m_image;
    QImage m_backdrop;
};

// The round window that follows the pointer. Override-redirect (placed exactly, no
// window manager animation), never focused. With a compositor it is translucent around
// its circle; without one it shows the screen under it there (shaped to its circle
// until it has that picture), so the circle's edge stays smooth either way.
class PXLColorSamplerWindow : public QWidget {
public:
    explicit PXLColorSamplerWindow(double side, bool translucent = false);
    double pixelZoom() const { return m_pixelZoom; }
    void setPixelZoom(double zoom) { m_pixelZoom = zoom; }
    PXLColorSamplerView &view() const { return *m_view; }
    void setBackdrop(const QImage &backdrop);

private:
    bool m_translucent;
    double m_pixelZoom = 5;
    PXLColorSamplerView *m_view;
};

// The pointer's screen loupe (mode 3): a circle of zoomWidth points centred on the
// pointer showing the screen square of side zoomWidth / pixelZoom under it, enlarged.
//
// The screens are pictured when the loupe opens, before its window shows, and every
// sample is cut from that picture: an X11 picture of the screen includes every window,
// so a grab while the loupe is up would magnify the loupe itself. What it shows is the
// screen as it was when the key went down, without our main window: that is put away
// first, and stays away after the loupe. The pointer is followed at 60 Hz. Main thread.
class PXLColorSampler {
public:
    struct Deps {
        OverlayServices overlays;
        std::function<QPointF()> pointer;          // global; else the cursor's position
        std::function<QList<QScreen *>()> screens; // else QGuiApplication::screens()
        std::function<QWidget *()> mainWindow;     // put away when the loupe opens
        Scheduler *scheduler = nullptr;            // required
    };
    static constexpr int kFollowMs = 16;
    // How long a window just put away gets to leave the screen before it is pictured.
    static constexpr int kSettleMs = 150;

    explicit PXLColorSampler(Deps deps);
    ~PXLColorSampler();
    PXLColorSampler(const PXLColorSampler &) = delete;
    PXLColorSampler &operator=(const PXLColorSampler &) = delete;

    // Opens the loupe (a loupe already open is dropped first); its lower-left corner
    // stands at the pointer until the first sample centres it. The main window, when
    // on screen, is put away first, and the loupe shows kSettleMs later.
    void zoomInPixelZoom(double pixelZoom, double zoomWidth);
    void dismiss();

    double zoomWidth() const { return m_zoomWidth; }
    PXLColorSamplerWindow *window() const { return m_window; }
    // The global square a sample at `pointer` captures (side: zoomWidth / pixelZoom).
    static QRect captureRect(QPointF pointer, double side);
    // One sample at the pointer: capture, re-centre, redraw. Off every screen: nothing;
    // no picture of the pointer's screen: the last image stays.
    void sample();

private:
    void drop();
    void open(double pixelZoom);

    Deps m_deps;
    double m_zoomWidth = 50;
    QPointer<PXLColorSamplerWindow> m_window;
    std::vector<std::pair<QPointer<QScreen>, QImage>> m_pictures;
    Scheduler::TimerId m_follow = Scheduler::kNoTimer;
    Scheduler::TimerId m_settle = Scheduler::kNoTimer;
    QPointF m_lastPointer;
    bool m_sampled = false;
    bool m_translucent = false;
};
