#include "QXShowTipContentView.h"

#include "PopupGeometry.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"
#include "views/LayerMark.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

namespace {
constexpr int kTextHeight = 30;  // one line's band at the bottom
constexpr int kTextPadding = 10; // the label draws 2 px further in

// Where the text goes in a bubble of `width`, and how tall it is there.
QRect textRect(const QFont &font, const QString &text, int width)
{
    const int inner = width - 2 * kTextPadding - 4;
    const int h =
        QFontMetrics(font).boundingRect(QRect(0, 0, inner, 10000), Qt::AlignHCenter | Qt::TextWordWrap, text).height();
    return QRect(kTextPadding, 0, inner + 4, std::max(kTextHeight, h + 8));
}
} // namespace

QXShowTipContentView::QXShowTipContentView(QWidget *parent) : QXBaseView(parent)
{
    setLayerBackgroundColor(qxAccentColor());
    setLayerCornerRadius(5);

    m_statusImageView = new QLabel(this);
    m_statusImageView->setAlignment(Qt::AlignCenter);
    m_statusImageView->setAttribute(Qt::WA_TransparentForMouseEvents);
    qxMarkLayer(m_statusImageView); // the picture behind the text band

    m_tipTextField = new QXLabel(this);
    m_tipTextField->setFont(qxSystemFont(16));
    m_tipTextField->setTextColor(Qt::white);
    m_tipTextField->setAlignment(Qt::AlignCenter);
    m_tipTextField->setWordWrap(true);
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

QSize QXShowTipContentView::sizeForText(const QString &text) const
{
    const int oneLine = QFontMetrics(m_tipTextField->font()).horizontalAdvance(text) + 2 * kTextPadding + 4;
    const int width = std::clamp(oneLine, popupgeometry::kTipWidth, popupgeometry::kTipMaxWidth);
    const int extra = textRect(m_tipTextField->font(), text, width).height() - kTextHeight;
    return {width, popupgeometry::kTipHeight + extra};
}

void QXShowTipContentView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    m_statusImageView->setGeometry((width() - popupgeometry::kTipWidth) / 2, 0, popupgeometry::kTipWidth,
                                   popupgeometry::kTipHeight);
    // The text band grows upwards over the picture's bottom, as the one line did.
    const QRect band = textRect(m_tipTextField->font(), m_tipTextField->text(), width());
    m_tipTextField->setGeometry(band.x(), height() - band.height(), band.width(), band.height());
}
