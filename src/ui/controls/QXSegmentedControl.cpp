#include "QXSegmentedControl.h"

#include "QXButton.h"
#include "QXLabel.h"
#include "drawing/KitAppearance.h"
#include "views/LayerMark.h"

#include <QResizeEvent>

#include <algorithm>

QXSegmentedControl::QXSegmentedControl(QWidget *parent) : QXBaseView(parent)
{
    LayerStyle layer;
    layer.cornerRadius = 5;
    layer.borderWidth = 1;
    layer.borderColor = qxDarkGreyColor();
    layer.masksToBounds = true;
    setLayerStyle(layer);
}

void QXSegmentedControl::setTitleArr(const QStringList &titles)
{
    m_titles = titles;
    // The old segments go with the old titles: left in place they would stay
    // clickable under the new ones with their old indices.
    qDeleteAll(m_items);
    qDeleteAll(m_dividers);
    m_items.clear();
    m_dividers.clear();
    for (int i = 0; i < titles.size(); ++i) {
        auto *button = new QXButton(this);
        button->setFont(qxSystemFont(15));
        button->setLayerBackgroundColor(Qt::white);
        button->setTitleColor(qxDarkGreyColor());
        button->setTitle(titles.at(i));
        button->setTag(i);
        connect(button, &QAbstractButton::clicked, this, [this, i] { showSelectIndex(i, true); });
        button->show();
        m_items.append(button);
        if (i + 1 < titles.size()) {
            auto *divider = new QXLabel(this);
            divider->setBackgroundColor(qxDarkGreyColor());
            divider->show();
            qxMarkLayer(divider); // over the shared edge of two segments
            m_dividers.append(divider);
        }
    }
    // Dividers above the segments: each segment would otherwise cover the divider
    // before it.
    for (QXLabel *divider : std::as_const(m_dividers))
        divider->raise();
    layoutSegments();
    showSelectIndex(0, false);
}

void QXSegmentedControl::layoutSegments()
{
    if (m_items.isEmpty())
        return;
    const int n = int(m_items.size());
    const qreal w = qreal(width()) / std::max(3, n);
    for (int i = 0; i < n; ++i) {
        m_items[i]->setGeometry(QRectF(i * w, 0, w - 1, height()).toRect());
        if (i < m_dividers.size())
            m_dividers[i]->setGeometry(QRectF((i + 1) * w, 0, 1, height()).toRect());
    }
}

void QXSegmentedControl::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    layoutSegments();
}

void QXSegmentedControl::showSelectIndex(int index, bool isCallback)
{
    m_selectIndex = index;
    for (int i = 0; i < m_items.size(); ++i) {
        const bool on = i == index;
        m_items[i]->setLayerBackgroundColor(on ? qxDarkGreyColor() : QColor(Qt::white));
        m_items[i]->setTitleColor(on ? QColor(Qt::white) : qxDarkGreyColor());
    }
    if (!isCallback)
        return;
    if (m_selectBlock)
        m_selectBlock(index);
    emit selected(index);
}
