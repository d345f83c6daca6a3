#include "CocoaScreen.h"

#include <QGuiApplication>
#include <QScreen>

QRectF CocoaScreen::toQt(const QRectF &cocoa, qreal primaryHeight)
{
    return QRectF(cocoa.x(), primaryHeight - cocoa.y() - cocoa.height(), cocoa.width(), cocoa.height());
}

QRectF CocoaScreen::fromQt(const QRectF &qt, qreal primaryHeight)
{
    // The same reflection both ways.
    return toQt(qt, primaryHeight);
}

qreal CocoaScreen::primaryHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

QRectF CocoaScreen::toQt(const QRectF &cocoa)
{
    return toQt(cocoa, primaryHeight());
}

QRectF CocoaScreen::fromQt(const QRectF &qt)
{
    return fromQt(qt, primaryHeight());
}
