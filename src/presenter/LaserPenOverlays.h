#pragma once

#include "LaserPenEffects.h"
#include "PXLColorSampler.h"
#include "PenDrawing.h"
#include "PointerOverlay.h"
#include "overlay/OverlayServices.h"

#include <QPointer>

#include <functional>

// The pointer's effects on the screen: the highlight, the light spot and the black
// screen as full-screen windows over the main screen (translucent with a compositor,
// over a picture of the screen taken at the key-down without one). Windows are made
// when an effect starts and go when it ends; a second start replaces the first. In a
// session where no window can be placed over the screen (native Wayland) the effects
// log that once and show nothing. The pen draws on its own overlay and the loupe follows
// the pointer (PenDrawing, PXLColorSampler). Main thread.
class LaserPenOverlays final : public LaserPenEffects {
public:
    struct Deps {
        OverlayServices overlays;
        // The pointer's global position; else the cursor's.
        std::function<QPoint()> pointer;
        // The screen the effects cover; else the primary screen.
        std::function<QScreen *()> screen;
        // The application's main window, put away when the loupe opens.
        std::function<QWidget *()> mainWindow = {};
        Scheduler *scheduler = nullptr; // required: the pen and the loupe follow the pointer on it
    };

    explicit LaserPenOverlays(Deps deps);
    ~LaserPenOverlays() override;
    LaserPenOverlays(const LaserPenOverlays &) = delete;
    LaserPenOverlays &operator=(const LaserPenOverlays &) = delete;

    // The window of the highlight or the light spot, and of the black screen.
    PointerOverlay *effectWindow() const { return m_effect; }
    PointerOverlay *blackWindow() const { return m_black; }

    void highlighted(double maskAlpha, double diameter) override;
    void showDigitalLightSpot(const QColor &color, double diameter) override;
    void hideHighlighted() override;
    void zoomIn(double circleWidth) override;
    void dismissZoom() override;
    void startDraw(const QColor &color, double width) override;
    void endDraw() override;
    void penMouseDown() override;
    void penMouseUp() override;
    void clearDraw() override;
    void showBlackScreen(const QString &countdownText) override;
    void hideBlackScreen() override;

private:
    bool available() const;
    PointerOverlay *make(PointerOverlay::Effect effect, PointerOverlay::Look look);
    static void drop(QPointer<PointerOverlay> &window);

    Deps m_d;
    PenDrawing m_pen;
    PXLColorSampler m_loupe;
    QPointer<PointerOverlay> m_effect;
    QPointer<PointerOverlay> m_black;
};
