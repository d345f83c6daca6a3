#pragma once

#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QWidget>

class QPainterPath;

// A window covering one screen, above every other window, for the full-screen effects
// (screen capture, highlight, spot, pen). Two kinds, chosen by whether a compositing
// manager runs at the moment the effect starts:
// - Translucent: a window with an alpha channel; what is not painted shows the live
//   desktop under it.
// - Snapshot: without a compositor clear pixels would come out black, so the window is
//   opaque and paints a picture of the screen taken before it showed: the desktop
//   stands still under the effect.
// Subclasses paint their effect in paintOverlay() over what paintEvent laid down
// (the clear window, or the picture), using paintDesktop() for the parts that show the
// desktop. Escape pressed while the window has the focus emits escapePressed().
class OverlayWindow : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Translucent, Snapshot };
    // Capture overlays take the focus (the user works in them); the pointer's never
    // do, so the presentation keeps the keyboard.
    enum class Focus { Takes, Never };

    // The kind for the current session: translucent only with a compositor.
    static Kind kindFor(bool compositor) { return compositor ? Kind::Translucent : Kind::Snapshot; }

    // `snapshot`: the screen's picture (device pixels, its device pixel ratio set), used
    // by the Snapshot kind; a null one paints black.
    OverlayWindow(QScreen *screen, Kind kind, QImage snapshot = {}, Focus focus = Focus::Takes,
                  QWidget *parent = nullptr);
    ~OverlayWindow() override;

    QScreen *targetScreen() const { return m_screen; }
    Kind kind() const { return m_kind; }
    const QImage &snapshot() const { return m_snapshot; }

    // Covers the screen (full screen, stays on top) and shows; nothing when the screen
    // went away.
    void showOverScreen();

    // Paints part of the window as the desktop under it, dimmed by black at dimAlpha
    // (0: as it is; 0.3: the capture's dimming). Translucent: that black, or clear;
    // Snapshot: the picture, then the black over it. In window coordinates.
    void paintDesktop(QPainter &p, const QRectF &area, qreal dimAlpha = 0) const;
    void paintDesktop(QPainter &p, const QPainterPath &area, qreal dimAlpha = 0) const;

signals:
    void escapePressed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // The effect, over the clear window or the picture. Default: nothing.
    virtual void paintOverlay(QPainter &p);

private:
    QPointer<QScreen> m_screen;
    Kind m_kind;
    QImage m_snapshot;
};
