#include "SearchButtonWindow.h"

#include "NamedImage.h"
#include "QXButton.h"

SearchButtonWindow::SearchButtonWindow()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                           | Qt::NoDropShadowWindowHint),
      m_button(new QXButton(this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kSide, kSide);
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
