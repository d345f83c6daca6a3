#include "QXShowTipContentView.h"

#include "KitAppearance.h"
#include "PopupGeometry.h"
#include "QXLabel.h"

#include <QLabel>

namespace {
constexpr int kTextHeight = 30;
} // namespace

QXShowTipContentView::QXShowTipContentView(QWidget *parent) : QXBaseView(parent)
{
    setLayerBackgroundColor(qxAccentColor());
    setLayerCornerRadius(5);

    m_statusImageView = new QLabel(this);
    m_statusImageView->setAlignment(Qt::AlignCenter);
    m_statusImageView->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_tipTextField = new QXLabel(this);
    m_tipTextField->setFont(qxSystemFont(16));
    m_tipTextField->setTextColor(Qt::white);
    m_tipTextField->setAlignment(Qt::AlignCenter);
    resize(popupgeometry::kTipWidth, popupgeometry::kTipHeight);
}

void QXShowTipContentView::setStatusImage(const QPixmap &image)
{
    // Centred, scaled down to fit but never up.
    QPixmap shown = image;
    const QSize box(popupgeometry::kTipWidth, popupgeometry::kTipHeight);
    if (!image.isNull() && (image.width() > box.width() || image.height() > box.height()))
        shown = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_statusImageView->setPixmap(shown);
}

void QXShowTipContentView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    m_statusImageView->setGeometry((width() - popupgeometry::kTipWidth) / 2, 0, popupgeometry::kTipWidth,
                                   popupgeometry::kTipHeight);
    m_tipTextField->setGeometry(0, height() - kTextHeight, width(), kTextHeight);
}
