#include "TileGrid.h"

#include <QEvent>
#include <QMouseEvent>

#include <algorithm>

TileGrid::TileGrid(QWidget *parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_content = new QWidget;
    m_content->setAutoFillBackground(false);
    setWidget(m_content);
    setWidgetResizable(false);
}

void TileGrid::setMetrics(const Metrics &metrics)
{
    m_metrics = metrics;
    layoutTiles();
}

int TileGrid::columns(int width, const Metrics &m)
{
    const int step = m.tileSize.width() + m.horizontalMargin;
    if (step <= 0)
        return 1;
    const int room = width - m.insets.left() - m.insets.right() + m.horizontalMargin;
    return std::max(1, room / step);
}

QWidget *TileGrid::tile(int index) const
{
    return index >= 0 && index < count() ? m_tiles[size_t(index)] : nullptr;
}

void TileGrid::reloadData()
{
    for (QWidget *tile : m_tiles)
        tile->deleteLater();
    m_tiles.clear();
    m_selected = -1;
    const int n = m_source.count ? std::max(0, m_source.count()) : 0;
    for (int i = 0; i < n && m_source.makeTile; ++i) {
        QWidget *tile = m_source.makeTile(m_content);
        tile->setObjectName(QStringLiteral("tile%1").arg(i));
        tile->installEventFilter(this);
        tile->show();
        if (m_source.setSelected)
            m_source.setSelected(tile, false);
        m_tiles.push_back(tile);
    }
    layoutTiles();
}

void TileGrid::selectItem(int index)
{
    const int selected = index >= 0 && index < count() ? index : -1;
    if (selected == m_selected)
        return;
    m_selected = selected;
    if (m_source.setSelected)
        for (int i = 0; i < count(); ++i)
            m_source.setSelected(m_tiles[size_t(i)], i == m_selected);
    emit selectionChanged(m_selected);
}

bool TileGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        const auto it = std::find(m_tiles.begin(), m_tiles.end(), watched);
        if (it != m_tiles.end())
            selectItem(int(it - m_tiles.begin()));
    }
    return QScrollArea::eventFilter(watched, event);
}

void TileGrid::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    layoutTiles();
}

void TileGrid::layoutTiles()
{
    const Metrics &m = m_metrics;
    const int width = viewport()->width();
    const int cols = columns(width, m);
    const int rows = (count() + cols - 1) / cols;
    for (int i = 0; i < count(); ++i) {
        const int col = i % cols, row = i / cols;
        m_tiles[size_t(i)]->setGeometry(m.insets.left() + col * (m.tileSize.width() + m.horizontalMargin),
                                        m.insets.top() + row * (m.tileSize.height() + m.verticalSpacing),
                                        m.tileSize.width(), m.tileSize.height());
    }
    const int height =
        m.insets.top() + rows * m.tileSize.height() + std::max(0, rows - 1) * m.verticalSpacing + m.insets.bottom();
    m_content->resize(width, std::max(height, viewport()->height()));
}
