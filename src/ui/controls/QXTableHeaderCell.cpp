#include "QXTableHeaderCell.h"

#include "drawing/KitAppearance.h"

#include <QPainter>

namespace {
constexpr int kTextPadding = 2;
}

QXTableHeaderCell::QXTableHeaderCell(Qt::Orientation orientation, QWidget *parent) : QHeaderView(orientation, parent)
{
    setHighlightSections(false);
    setSectionsClickable(false);
}

QRect QXTableHeaderCell::titleRect(const QRect &section)
{
    return QRect(section.x() + kTextPadding, section.y() + kTitleTop, section.width() - 2 * kTextPadding, kTitleHeight);
}

void QXTableHeaderCell::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    painter->save();
    painter->fillRect(rect, qxDarkGreyColor());
    const QAbstractItemModel *m = model();
    if (m) {
        const QString title = m->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
        const QVariant fontData = m->headerData(logicalIndex, orientation(), Qt::FontRole);
        const QVariant alignData = m->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole);
        const Qt::Alignment horizontal =
            alignData.isValid() ? Qt::Alignment(alignData.toInt()) & Qt::AlignHorizontal_Mask : Qt::AlignLeft;
        painter->setFont(fontData.isValid() ? fontData.value<QFont>() : font());
        painter->setPen(Qt::white);
        painter->setClipRect(rect);
        painter->drawText(titleRect(rect), int(horizontal | Qt::AlignVCenter), title);
    }
    painter->restore();
}

QSize QXTableHeaderCell::sectionSizeFromContents(int logicalIndex) const
{
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    size.setHeight(qMax(size.height(), kTitleTop * 2 + kTitleHeight));
    return size;
}
