#pragma once

#include "Scheduler.h"

#include <QLabel>
#include <QList>
#include <QPixmap>

// An image view that plays its frames in a loop, one pass every `time` seconds.
// The animating flag and the frame interval are shared by every instance: while
// any of them animates, setImages and setTime of all of them are ignored (the
// speech pop-up relies on this to keep a running loop from being replaced).
class NSAnimateImageView : public QLabel {
    Q_OBJECT
public:
    explicit NSAnimateImageView(QWidget *parent = nullptr);
    ~NSAnimateImageView() override;

    QList<QPixmap> images() const { return m_images; }
    // Ignored while any instance animates. A time of 0 becomes frames x interval;
    // then the shared interval becomes time / frames.
    void setImages(const QList<QPixmap> &images);
    float time() const { return m_time; }
    void setTime(float seconds);

    // Shows the frames in order, each time / frames long, without end; the
    // view's own image comes back at stopAnimation.
    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return m_timer != Scheduler::kNoTimer; }
    int currentFrame() const { return m_frame; }

    static bool sharedIsAnimating();
    static float sharedFrameInterval();
    // Back to the state at start: not animating, interval 0.1 s.
    static void resetSharedState();

private:
    void showFrame(int index);

    QList<QPixmap> m_images;
    QPixmap m_ownImage; // shown when not animating
    float m_time = 0;
    int m_frame = 0;
    Scheduler::TimerId m_timer = Scheduler::kNoTimer;
};
