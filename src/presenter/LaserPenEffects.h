#pragma once

#include <QColor>
#include <QString>

// What the pointer shows on the screen, as the manager drives it. The manager decides
// when; an implementation draws (the overlays, a recorder in tests). Main thread.
class LaserPenEffects {
public:
    virtual ~LaserPenEffects() = default;

    // The darkened screen with a clear disc at the pointer, following it. A second
    // start replaces the first (one window, one pointer tracking).
    virtual void highlighted(double maskAlpha, double diameter) = 0;
    // A disc of the colour at the pointer, following it; replaces a running one.
    virtual void showDigitalLightSpot(const QColor &color, double diameter) = 0;
    // Takes down the highlight or the light spot and gives the cursor back; nothing
    // when neither is shown.
    virtual void hideHighlighted() = 0;

    // The loupe and the pen.
    virtual void zoomIn(double circleWidth) = 0;
    virtual void dismissZoom() = 0;
    // Shows the drawing surface unless it is already on the screen.
    virtual void startDraw(const QColor &color, double width) = 0;
    virtual void endDraw() = 0;
    virtual void penMouseDown() = 0;
    virtual void penMouseUp() = 0;
    // Erases the strokes and ends the drawing.
    virtual void clearDraw() = 0;

    // The opaque black screen, with the countdown's big text once it runs (an empty
    // text shows the black screen alone).
    virtual void showBlackScreen(const QString &countdownText) = 0;
    virtual void hideBlackScreen() = 0;
};
