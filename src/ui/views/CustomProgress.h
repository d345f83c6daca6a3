#pragma once

#include <QWidget>

class QLabel;

// A progress bar made of two images: the track across the whole view (with a grey
// border) and the filled part from the left, value x (width / maxValue) wide.
// Callers put their images into bgimg and leftimg and set maxValue first.
class CustomProgress : public QWidget {
    Q_OBJECT
public:
    explicit CustomProgress(QWidget *parent = nullptr);

    QLabel *bgimg() const { return m_bg; }
    QLabel *leftimg() const { return m_left; }

    float maxValue() const { return m_maxValue; }
    void setMaxValue(float value) { m_maxValue = value; }
    // The filled width for the view's width now, within 0..width: a maximum of 0,
    // below 0 or not a number fills nothing.
    void setPresent(int value);
    int leftImgWidth() const { return m_leftWidth; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutImages();

    QLabel *m_bg = nullptr;
    QLabel *m_left = nullptr;
    float m_maxValue = 0;
    int m_leftWidth = 0;
};
