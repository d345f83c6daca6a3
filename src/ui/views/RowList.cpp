#include "RowList.h"

#include "drawing/KitAppearance.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

void RowListRow::setGridColor(const QColor &color)
{
    m_grid = color;
    update();
}

void RowListRow::paintEvent(QPaintEvent *event)
{
    QXBaseView::paintEvent(event);
    if (!m_grid.isValid())
        return;
    QPainter painter(this);
    painter.fillRect(QRect(0, height() - 1, width(), 1), m_grid);
}

RowList::RowList(QWidget *parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("rowListContent"));
    qxFillBackground(m_content, Qt::white);
    setWidget(m_content);
}

void RowList::setLook(const Look &look)
{
    m_look = look;
    qxFillBackground(m_content, look.odd);
    for (size_t i = 0; i < m_rows.size(); ++i)
        styleRow(m_rows[i], int(i));
}

void RowList::reload()
{
    const int items = m_source.count ? std::max(0, m_source.count()) : 0;
    const int wanted = std::max(items, m_minRows);
    // Rows no longer needed: out of sight and out of findChild's reach at once,
    // deleted once the event that may have caused the reload is over.
    while (int(m_rows.size()) > wanted) {
        RowListRow *row = m_rows.back();
        m_rows.pop_back();
        m_cells.pop_back();
        row->hide();
        row->setObjectName(QString());
        row->setParent(nullptr);
        row->deleteLater();
    }
    while (int(m_rows.size()) < wanted) {
        auto *row = new RowListRow(m_content);
        m_rows.push_back(row);
        QWidget *cell = m_source.makeCell ? m_source.makeCell(row) : nullptr;
        if (cell && cell->parentWidget() != row)
            cell->setParent(row);
        m_cells.push_back(cell);
        row->show();
    }
    for (int i = 0; i < wanted; ++i) {
        m_rows[i]->setObjectName(rowName(i));
        styleRow(m_rows[i], i);
        if (m_cells[i] && m_source.fill)
            m_source.fill(m_cells[i], i);
    }
    layoutRows();
}

RowListRow *RowList::rowView(int row) const
{
    return row >= 0 && row < rowCount() ? m_rows[row] : nullptr;
}

QWidget *RowList::cell(int row) const
{
    return row >= 0 && row < rowCount() ? m_cells[row] : nullptr;
}

void RowList::scrollToRow(int row)
{
    if (RowListRow *view = rowView(row))
        ensureWidgetVisible(view, 0, 0);
}

void RowList::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    layoutRows();
}

void RowList::layoutRows()
{
    const int width = viewport()->width();
    m_content->resize(width, m_rowHeight * rowCount());
    for (int i = 0; i < rowCount(); ++i) {
        m_rows[i]->setGeometry(0, i * m_rowHeight, width, m_rowHeight);
        if (m_cells[i])
            m_cells[i]->setGeometry(m_rows[i]->rect());
    }
}

void RowList::styleRow(RowListRow *row, int index) const
{
    row->setLayerBackgroundColor(index % 2 == 0 ? m_look.even : m_look.odd);
    row->setGridColor(m_look.grid);
}
