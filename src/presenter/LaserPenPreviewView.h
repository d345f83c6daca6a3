#pragma once

#include <QColor>
#include <QWidget>

// The pointer settings page's sample picture with the previewed function's figure
// over it, at one third of the screen's size (the pen's stroke at full width): the
// highlight's darkening with its hole, the light spot's disc, the loupe's ring or the
// pen's stroke. Corners rounded by 12.
class LaserPenPreviewView : public QWidget {
public:
    static constexpr QSize kSize{340, 200};

    explicit LaserPenPreviewView(QWidget *parent = nullptr);

    // previewIndex 1-4 with the function's size setting (its colour, the highlight's
    // darkness); any other index shows the picture alone.
    void setFigure(int previewIndex, double size, const QColor &color = {}, double maskAlpha = 0);
    int figureIndex() const { return m_index; }
    // Where the figure lies in the view; empty for none.
    QRectF figureRect() const;
    QColor figureColor() const { return m_color; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_index = 0;
    double m_size = 0;
    QColor m_color;
    double m_alpha = 0;
};
