#pragma once

#include <QMargins>
#include <QScrollArea>
#include <QSize>

#include <functional>
#include <vector>

// A grid of equal tiles in a scroll area, filled row by row, with one selected tile.
// Columns = max(1, ⌊(width − left − right + margin) ÷ (tile width + margin)⌋). A click
// on a tile selects it. Tiles are made by the owner; the grid tells each whether it
// is the selected one.
class TileGrid : public QScrollArea {
    Q_OBJECT
public:
    struct Metrics {
        QSize tileSize{120, 70};
        int verticalSpacing = 20;
        int horizontalMargin = 45;
        QMargins insets; // left, top, right, bottom
    };
    struct Source {
        std::function<int()> count;
        std::function<QWidget *(QWidget *parent)> makeTile;
        std::function<void(QWidget *tile, bool selected)> setSelected;
    };

    explicit TileGrid(QWidget *parent = nullptr);

    void setMetrics(const Metrics &metrics);
    const Metrics &metrics() const { return m_metrics; }
    void setSource(Source source) { m_source = std::move(source); }

    // Makes the tiles for the current count; the selection is cleared.
    void reloadData();
    int count() const { return int(m_tiles.size()); }
    QWidget *tile(int index) const;
    // -1 when nothing is selected.
    int selectedIndex() const { return m_selected; }
    // An index outside the tiles clears the selection.
    void selectItem(int index);

    static int columns(int width, const Metrics &metrics);

signals:
    void selectionChanged(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutTiles();

    Metrics m_metrics;
    Source m_source;
    QWidget *m_content = nullptr;
    std::vector<QWidget *> m_tiles;
    int m_selected = -1;
};
