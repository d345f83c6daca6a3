#pragma once

#include "QXBaseView.h"

#include <QColor>
#include <QScrollArea>

#include <functional>
#include <vector>

// A row of a RowList: its stripe colour, and the grid line over its bottom edge.
class RowListRow : public QXBaseView {
    Q_OBJECT
public:
    using QXBaseView::QXBaseView;
    QColor gridColor() const { return m_grid; }
    void setGridColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_grid;
};

// The list of the command, hot-word and transcription pages: a column of fixed-height
// rows in a scroll area that shows no vertical scroll bar (the wheel still scrolls),
// no header and no selection. Rows are never fewer than the minimum: the rows past
// the last item are blank. Rows are filled in from the data at display time, so
// reload() shows whatever the data holds then.
//
// Each row is a striped view named "row<N>" holding one cell, made once per row view
// and filled again on every reload; cells name their buttons "row<N>.<part>" so a
// test finds them. Row views are kept across reloads; the ones no longer needed are
// deleted later, so a reload from a row's own button handler is safe.
class RowList : public QScrollArea {
    Q_OBJECT
public:
    struct Source {
        std::function<int()> count;                          // the items
        std::function<QWidget *(QWidget *rowView)> makeCell; // a cell for a new row view
        // Shows the item of the row in its cell; row >= count(): a blank row.
        std::function<void(QWidget *cell, int row)> fill;
    };
    // Even rows (0, 2, …) and odd rows; grid: a 1-pixel line under every row, none
    // when invalid.
    struct Look {
        QColor even{241, 244, 248};
        QColor odd{Qt::white};
        QColor grid;
    };

    explicit RowList(QWidget *parent = nullptr);

    // The source of a list whose Cell shows one item of items() (read again on every
    // count and fill, so a reload shows what the data holds then): each cell is told
    // its row (setRow) and its item (setModel), no item on a blank row.
    template <typename Cell, typename Items, typename MakeCell> static Source itemSource(Items items, MakeCell makeCell)
    {
        return {
            [items] { return int(items().size()); },
            std::move(makeCell),
            [items](QWidget *cell, int row) {
                auto *view = static_cast<Cell *>(cell);
                const auto &list = items();
                view->setRow(row);
                view->setModel(row < list.size() ? list.at(row) : nullptr);
            },
        };
    }

    void setSource(Source source) { m_source = std::move(source); }
    void setLook(const Look &look);
    void setRowHeight(int height) { m_rowHeight = height; }
    int rowHeight() const { return m_rowHeight; }
    void setMinRows(int rows) { m_minRows = rows; }
    int minRows() const { return m_minRows; }

    // Builds or refills the rows from the data now.
    void reload();
    // The rows shown: max(items, minimum).
    int rowCount() const { return int(m_rows.size()); }
    RowListRow *rowView(int row) const;
    QWidget *cell(int row) const;
    // Scrolls the row into the visible area.
    void scrollToRow(int row);

    static QString rowName(int row) { return QStringLiteral("row%1").arg(row); }
    static QString partName(int row, const char *part)
    {
        return QStringLiteral("row%1.%2").arg(row).arg(QLatin1String(part));
    }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutRows();
    void styleRow(RowListRow *row, int index) const;

    Source m_source;
    Look m_look;
    int m_rowHeight = 52;
    int m_minRows = 10;
    QWidget *m_content = nullptr;
    std::vector<RowListRow *> m_rows;
    std::vector<QWidget *> m_cells;
};
