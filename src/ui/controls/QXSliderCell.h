#pragma once

#include <QColor>
#include <QRectF>
#include <QSlider>

// The slider of the preference pages: a flat rounded bar, blue up to a round knob
// and light grey after it. The knob is drawn where the filled part ends, and the
// pointer is mapped onto the value by the same geometry, so what is drawn is what
// is dragged.
class QXSliderCell : public QSlider {
    Q_OBJECT
public:
    explicit QXSliderCell(Qt::Orientation orientation = Qt::Horizontal, QWidget *parent = nullptr);

    QColor sliderProgressColor() const { return m_progressColor; }
    void setSliderProgressColor(const QColor &c);
    QColor sliderBackgroundColor() const { return m_backgroundColor; }
    void setSliderBackgroundColor(const QColor &c);
    QColor sliderKnobColor() const { return m_knobColor; }
    void setSliderKnobColor(const QColor &c);
    qreal sliderHeight() const { return m_barHeight; }
    void setSliderHeight(qreal h);
    qreal sliderBarRadius() const { return m_barRadius; }
    void setSliderBarRadius(qreal r);
    qreal sliderKnobWidth() const { return m_knobWidth; }
    qreal sliderKnobHeight() const { return m_knobHeight; }
    void setSliderKnobSize(qreal width, qreal height);

    // (position - minimum) / (maximum - minimum); 0 for an empty range.
    double fraction() const;
    // The bar, its filled part and the knob, for the current value and size.
    QRectF barRect() const;
    QRectF leftBarRect() const;
    QRectF knobRect() const;
    // The value under a point of the widget.
    int valueAt(const QPointF &point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QColor m_progressColor{212, 212, 212};
    QColor m_backgroundColor{0, 175, 204};
    QColor m_knobColor{190, 195, 68};
    qreal m_barHeight = 6;
    qreal m_barRadius = 3;
    qreal m_knobWidth = 22;
    qreal m_knobHeight = 22;
};
