#pragma once

#include "overlay/OverlayWindow.h"

#include <QColor>
#include <QString>

// One of the pointer's full-screen windows over the main screen: the highlight (the
// desktop darkened except a clear disc at the pointer), the light spot (a disc at the
// pointer) or the black screen (with the countdown's text). It never takes the focus,
// so the presentation keeps the keyboard; the cursor is blank over it, and the effect
// follows the pointer's moves and clicks.
class PointerOverlay final : public OverlayWindow {
public:
    enum class Effect { Highlight, Spot, Black };
    struct Look {
        double maskAlpha = 0.6;
        double diameter = 300;
        QColor color = Qt::red;
    };

    PointerOverlay(QScreen *screen, Kind kind, QImage snapshot, Effect effect, Look look);

    Effect effect() const { return m_effect; }
    // In window coordinates.
    QPointF pointer() const { return m_pointer; }
    void setPointer(QPointF pointer);
    void setCountdownText(const QString &text);
    QString countdownText() const { return m_text; }

protected:
    void paintOverlay(QPainter &p) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    Effect m_effect;
    Look m_look;
    QPointF m_pointer;
    QString m_text;
};
