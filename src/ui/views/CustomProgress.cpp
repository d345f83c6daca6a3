#include "CustomProgress.h"

#include "LayerMark.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

CustomProgress::CustomProgress(QWidget *parent) : QWidget(parent)
{
    m_bg = new QLabel(this);
    m_bg->setScaledContents(true);
    m_bg->setFrameShape(QFrame::Box);
    m_bg->setLineWidth(1);
    qxMarkLayer(m_bg); // the track under the filled part
    QPalette pal = m_bg->palette();
    pal.setColor(QPalette::WindowText, QColor(112, 112, 112)); // the border
    m_bg->setPalette(pal);
    m_left = new QLabel(this);
    m_left->setScaledContents(true);
    layoutImages();
}

void CustomProgress::setPresent(int value)
{
    const double w = width();
    double filled = 0;
    if (std::isfinite(m_maxValue) && m_maxValue > 0)
        filled = std::clamp(value * (w / m_maxValue), 0.0, w);
    m_leftWidth = int(std::lround(filled));
    layoutImages();
}

void CustomProgress::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutImages();
}

void CustomProgress::layoutImages()
{
    m_bg->setGeometry(rect());
    m_left->setGeometry(0, 0, m_leftWidth, height());
    m_left->raise();
}
