#include "QXTranslateView.h"

#include "controls/QXButton.h"
#include "drawing/NamedImage.h"

namespace {
constexpr int kButtonSide = 30;
constexpr int kButtonInset = 10;
} // namespace

QXTranslateView::QXTranslateView(QWidget *parent) : QXWordView(parent)
{
    m_fuzhiBtn = new QXButton(this);
    m_fuzhiBtn->setImage(namedPixmap(QStringLiteral("copy_icon_black")));
    m_fuzhiBtn->setFixedSize(kButtonSide, kButtonSide);
    m_fuzhiBtn->setFocusPolicy(Qt::NoFocus);
    connect(m_fuzhiBtn, &QXButton::clicked, this, &QXTranslateView::fuzhiBtnClicked);
    // Reading the card aloud has no caller; the button stays hidden.
    m_playBtn = new QXButton(this);
    m_playBtn->setImage(namedPixmap(QStringLiteral("play_icon_black")));
    m_playBtn->setFixedSize(kButtonSide, kButtonSide);
    setIsYiView(false);
}

void QXTranslateView::setIsYiView(bool on)
{
    m_isYiView = on;
    m_playBtn->hide();
    layoutButtons();
}

void QXTranslateView::fuzhiBtnClicked()
{
    if (m_copyBlock)
        m_copyBlock(stringValue());
}

void QXTranslateView::resizeEvent(QResizeEvent *event)
{
    QXWordView::resizeEvent(event);
    layoutButtons();
}

void QXTranslateView::layoutButtons()
{
    const QPoint corner(width() - kButtonInset - kButtonSide, height() - kButtonInset - kButtonSide);
    m_fuzhiBtn->move(corner);
    m_playBtn->move(corner);
    m_fuzhiBtn->raise();
}
