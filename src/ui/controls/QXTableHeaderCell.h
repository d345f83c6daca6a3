#pragma once

#include <QHeaderView>

// The dark table header: every section filled dark grey with its title in white,
// whatever colour the model gives. The title sits in a band from 7 px below the
// section's top, 24 px high.
class QXTableHeaderCell : public QHeaderView {
    Q_OBJECT
public:
    static constexpr int kTitleTop = 7;
    static constexpr int kTitleHeight = 24;

    explicit QXTableHeaderCell(Qt::Orientation orientation = Qt::Horizontal, QWidget *parent = nullptr);

    // Where a section's title is drawn.
    static QRect titleRect(const QRect &section);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;
};
