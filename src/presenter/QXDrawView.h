#pragma once

#include "QXDrawPath.h"
#include "Scheduler.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;

// The pen's canvas over the whole screen. The pointer keys, not mouse buttons, drive
// it: mouseDown starts a stroke at the pointer, a 10 ms sampling timer extends it to
// wherever the pointer is (a point per tick, moved or not), mouseUp keeps it. Mouse
// clicks draw nothing.
//
// Finished strokes are painted once into a cached picture and the stroke in progress
// into a layer of its own, a segment per tick, so a tick repaints only the new
// segment's few pixels however long the drawing is. Main thread.
class QXDrawView : public QWidget {
public:
    static constexpr int kSampleMs = 10;
    static constexpr int kPenPictureSize = 24;

    // pointer: the pointer's global position; scheduler: required, samples it.
    explicit QXDrawView(std::function<QPointF()> pointer, Scheduler *scheduler = nullptr, QWidget *parent = nullptr);
    ~QXDrawView() override;

    double lineWidth() const { return m_lineWidth; }
    void setLineWidth(double width) { m_lineWidth = width; }
    QColor drawColor() const { return m_drawColor; }
    void setDrawColor(const QColor &color) { m_drawColor = color; }

    void mouseDown();
    void mouseDragged();
    // Keeps the stroke in progress; nothing when none is (a second key-up, no key-down).
    void mouseUp();
    // Erases every stroke (the caller ends the drawing).
    void clearDraw();

    const std::vector<QXDrawPath> &drawPathArray() const { return m_strokes; }
    const QPainterPath &drawPath() const { return m_drawPath; }
    bool pathReleased() const { return m_pathReleased; }
    bool isSampling() const { return m_timer != Scheduler::kNoTimer; }
    QLabel &penImageView();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPointF pointer() const;
    void placePen(QPointF p);
    QPen pen(const QColor &color, double width) const;
    QRect segmentRect(QPointF a, QPointF b, double width) const;
    void ensureLayers();

    std::function<QPointF()> m_pointer;
    Scheduler *m_scheduler;
    double m_lineWidth = 10;
    QColor m_drawColor = Qt::red;
    std::vector<QXDrawPath> m_strokes;
    QPainterPath m_drawPath;
    bool m_pathReleased = true;
    Scheduler::TimerId m_timer = Scheduler::kNoTimer;
    QLabel *m_penImage = nullptr;
    QImage m_finished; // every finished stroke
    QImage m_live;     // the stroke in progress
};
