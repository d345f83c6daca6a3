#include "SearchButtonWindow.h"

#include "controls/QXButton.h"
#include "drawing/NamedImage.h"

#include <QRegion>

SearchButtonWindow::SearchButtonWindow()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                           | Qt::NoDropShadowWindowHint),
      m_button(new QXButton(this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kSide, kSide);
    // Without a compositor the transparent corners would show black: the round
    // button is the window's shape.
    setMask(QRegion(rect(), QRegion::Ellipse));
    m_button->setGeometry(0, 0, kSide, kSide);
    m_button->setImage(namedPixmap(QStringLiteral("sousuo")));
    connect(m_button, &QXButton::clicked, this, &SearchButtonWindow::searchBtnClicked);
}

void SearchButtonWindow::showAtPointer(QPoint pointer)
{
    move(pointer.x(), pointer.y() - kSide);
    if (isVisible())
        raise();
    else
        show(); // a window that maps comes up on top
}
