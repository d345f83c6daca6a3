#include "QXTabItem.h"

#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"

#include <QLabel>

#include <algorithm>

namespace {
constexpr int kImageLeft = 24;
constexpr int kImageSize = 24;
constexpr int kTitleGap = 5;
constexpr int kTitleHeight = 20;
} // namespace

QXTabItem::QXTabItem(QWidget *parent) : QXButton(QString(), parent) {}

QLabel *QXTabItem::imageView()
{
    if (!m_imageView) {
        m_imageView = new QLabel(this);
        m_imageView->setScaledContents(true);
        m_imageView->setAttribute(Qt::WA_TransparentForMouseEvents);
        layoutSubviews();
        m_imageView->show();
    }
    return m_imageView;
}

QXLabel *QXTabItem::titleLabel()
{
    if (!m_titleLabel) {
        m_titleLabel = new QXLabel(this);
        m_titleLabel->setTextColor(QColor(38, 12, 12));
        m_titleLabel->setFont(qxSystemFont(14));
        m_titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_titleLabel->setTextFormat(Qt::PlainText);
        layoutSubviews();
        m_titleLabel->show();
    }
    return m_titleLabel;
}

void QXTabItem::setImageName(const QString &name)
{
    m_imageName = name;
    imageView()->setPixmap(namedPixmap(name));
}

void QXTabItem::setTitleName(const QString &title)
{
    m_titleName = title;
    titleLabel()->setText(title);
}

void QXTabItem::setTitleColor(const QColor &color)
{
    titleLabel()->setTextColor(color);
}

void QXTabItem::resizeEvent(QResizeEvent *event)
{
    QXButton::resizeEvent(event);
    layoutSubviews();
}

void QXTabItem::layoutSubviews()
{
    const int midY = height() / 2;
    if (m_imageView)
        m_imageView->setGeometry(kImageLeft, midY - kImageSize / 2, kImageSize, kImageSize);
    if (m_titleLabel) {
        const int left = kImageLeft + kImageSize + kTitleGap;
        m_titleLabel->setGeometry(left, midY - kTitleHeight / 2, std::max(0, width() - left), kTitleHeight);
    }
}
