#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

class QVariantAnimation;

// A ring that fills clockwise from twelve o'clock: a background ring with the
// progress ring over it. A change of progress can be animated from the value shown
// last, over `duration` with ease-in-ease-out. It is a toggle button and may carry
// an image in its middle.
class RWProgressView : public QAbstractButton {
    Q_OBJECT
public:
    explicit RWProgressView(QWidget *parent = nullptr);

    double progress() const { return m_progress; }
    void setProgress(double progress) { setProgress(progress, false); }
    // Clamped to 0..1: NaN is 0, an infinity the nearer end.
    void setProgress(double progress, bool animated);

    double progressLineWidth() const { return m_progressLineWidth; }
    double backgroundLineWidth() const { return m_backgroundLineWidth; }
    QColor progressLineColor() const { return m_progressLineColor; }
    QColor backgroundLineColor() const { return m_backgroundLineColor; }
    double duration() const { return m_duration; }
    // These take effect at the next setProgress.
    void setProgressLineWidth(double w) { m_progressLineWidth = w; }
    void setBackgroundLineWidth(double w) { m_backgroundLineWidth = w; }
    void setProgressLineColor(const QColor &c) { m_progressLineColor = c; }
    void setBackgroundLineColor(const QColor &c) { m_backgroundLineColor = c; }
    void setDuration(double seconds) { m_duration = seconds; }

    void setImage(const QPixmap &image);

    // The ring's radius for the current size and line widths; never negative.
    double radius() const;
    // The part of the ring drawn now (the animated value).
    double shownProgress() const { return m_shown; }
    const QVariantAnimation *animation() const { return m_animation; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_progress = 0;
    double m_last = 0; // the value the last setProgress went to
    double m_shown = 0;
    double m_progressLineWidth = 5;
    double m_backgroundLineWidth = 5;
    QColor m_progressLineColor{170, 170, 170}; // light grey
    QColor m_backgroundLineColor{85, 85, 85};  // dark grey
    double m_duration = double(0.4f);
    // Used for this ring's drawing geometry at the last setProgress.
    double m_ringProgressWidth = 5;
    double m_ringBackgroundWidth = 5;
    QColor m_ringProgressColor{170, 170, 170};
    QColor m_ringBackgroundColor{85, 85, 85};
    QPixmap m_image;
    QVariantAnimation *m_animation = nullptr;
};
