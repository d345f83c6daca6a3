#include "PZFrame.h"

#include "CocoaScreen.h"

#include <QWidget>

PZFrame pz_viewFrame(const QWidget *view)
{
    return {QRectF(view->geometry()), true};
}

void pz_setViewFrame(QWidget *view, const PZFrame &frame)
{
    view->setGeometry(frame.frame.toRect());
}

PZFrame pz_windowFrame(const QWidget *window)
{
    return {CocoaScreen::fromQt(QRectF(window->frameGeometry())), false};
}

void pz_setWindowFrame(QWidget *window, const PZFrame &frame)
{
    const QRectF qt = CocoaScreen::toQt(frame.frame);
    // The frame includes the window manager's decoration; the size set is the
    // client area's, so take the decoration off.
    const QMargins deco(window->geometry().left() - window->frameGeometry().left(),
                        window->geometry().top() - window->frameGeometry().top(),
                        window->frameGeometry().right() - window->geometry().right(),
                        window->frameGeometry().bottom() - window->geometry().bottom());
    window->setGeometry(qt.toRect().marginsRemoved(deco));
    window->update();
}
