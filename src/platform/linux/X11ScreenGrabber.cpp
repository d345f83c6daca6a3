#include "X11ScreenGrabber.h"

#include "PZLog.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace platform::linuxbackend {

bool X11ScreenGrabber::isAvailable() const
{
    if (!qGuiApp)
        return false;
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb") || platform == QLatin1String("offscreen"))
        return true;
    qxLogOnce(QStringLiteral("x11:grab"), QStringLiteral("screen pictures are not available in this session (%1): "
                                                         "screen capture and the screen effects stay off")
                                              .arg(platform));
    return false;
}

QImage X11ScreenGrabber::grab(const QScreen *screen, const QRect &area)
{
    if (!screen || !isAvailable())
        return {};
    const QRect whole(QPoint(0, 0), screen->geometry().size());
    const QRect part = area.isEmpty() ? whole : area.intersected(whole);
    if (part.isEmpty())
        return {};
    // The coordinates are the screen's own; the picture comes in device pixels.
    const QPixmap pixmap =
        const_cast<QScreen *>(screen)->grabWindow(0, part.x(), part.y(), part.width(), part.height());
    if (pixmap.isNull()) {
        qxWarning("grab") << "the X server gave no picture of" << screen->name() << part;
        return {};
    }
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(screen->devicePixelRatio());
    return image;
}

} // namespace platform::linuxbackend
