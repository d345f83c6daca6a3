#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

class QWidget;

// One edge, corner or centre of a frame, read and written. `flipped` says whether y
// grows downwards (a widget's geometry) or upwards (a window frame in bottom-left
// screen coordinates, see CocoaScreen): top and bottom, and the corners, follow it.
// Every setter moves the frame and keeps its size, except the size setters.
struct PZFrame {
    QRectF frame;
    bool flipped = true;

    qreal x() const { return frame.x(); }
    qreal y() const { return frame.y(); }
    qreal width() const { return frame.width(); }
    qreal height() const { return frame.height(); }
    qreal left() const { return frame.x(); }
    qreal right() const { return frame.x() + frame.width(); }
    qreal top() const { return flipped ? frame.y() : frame.y() + frame.height(); }
    qreal bottom() const { return flipped ? frame.y() + frame.height() : frame.y(); }
    qreal centerX() const { return frame.x() + frame.width() / 2; }
    qreal centerY() const { return frame.y() + frame.height() / 2; }
    QPointF origin() const { return frame.topLeft(); }
    QSizeF size() const { return frame.size(); }
    QPointF center() const { return {centerX(), centerY()}; }
    QPointF topLeft() const { return {left(), top()}; }
    QPointF leftBottom() const { return {left(), bottom()}; }
    QPointF bottomRight() const { return {right(), bottom()}; }
    QPointF topRight() const { return {right(), top()}; }

    void setX(qreal v) { frame.moveLeft(v); }
    void setY(qreal v) { frame.moveTop(v); }
    void setWidth(qreal v) { frame.setWidth(v); }
    void setHeight(qreal v) { frame.setHeight(v); }
    void setLeft(qreal v) { frame.moveLeft(v); }
    void setRight(qreal v) { frame.moveLeft(v - frame.width()); }
    void setTop(qreal v) { frame.moveTop(flipped ? v : v - frame.height()); }
    void setBottom(qreal v) { frame.moveTop(flipped ? v - frame.height() : v); }
    void setCenterX(qreal v) { frame.moveLeft(v - frame.width() / 2); }
    void setCenterY(qreal v) { frame.moveTop(v - frame.height() / 2); }
    void setOrigin(const QPointF &p) { frame.moveTopLeft(p); }
    void setSize(const QSizeF &s) { frame.setSize(s); }
    void setCenter(const QPointF &p) { frame.moveTopLeft(p - QPointF(frame.width() / 2, frame.height() / 2)); }
    void setTopLeft(const QPointF &p)
    {
        setLeft(p.x());
        setTop(p.y());
    }
    void setLeftBottom(const QPointF &p)
    {
        setLeft(p.x());
        setBottom(p.y());
    }
    void setBottomRight(const QPointF &p)
    {
        setRight(p.x());
        setBottom(p.y());
    }
    void setTopRight(const QPointF &p)
    {
        setRight(p.x());
        setTop(p.y());
    }
};

// A widget's frame (its geometry in the parent, y down) and a window's frame (in
// bottom-left screen coordinates, y up), and writing them back.
PZFrame pz_viewFrame(const QWidget *view);
void pz_setViewFrame(QWidget *view, const PZFrame &frame);
PZFrame pz_windowFrame(const QWidget *window);
void pz_setWindowFrame(QWidget *window, const PZFrame &frame);
