#include "NamedImage.h"

#include "PZLog.h"

#include <QFile>
#include <QHash>
#include <QImageReader>

// Outside any namespace: Q_INIT_RESOURCE names a global function. The kit is a
// static library, so its resource registers only when something calls this.
static void initKitResources()
{
    Q_INIT_RESOURCE(ui_kit);
}

QImage namedImage(const QString &name)
{
    static const bool registered = (initKitResources(), true);
    Q_UNUSED(registered);
    // Images are implicitly shared: the cache hands out cheap copies.
    static QHash<QString, QImage> cache;
    if (const auto it = cache.constFind(name); it != cache.constEnd())
        return *it;

    const QString path = QStringLiteral(":/images/%1.png").arg(name);
    QImage image;
    if (!name.isEmpty() && QFile::exists(path)) {
        // Read as the PNG it is named: left to guess, Qt loads every image-format plugin
        // (JPEG, GIF, ICO ...) into the process to ask each.
        QImageReader reader(path, "png");
        reader.setAutoDetectImageFormat(false);
        image = reader.read();
    }
    if (image.isNull()) {
        qxLogOnce(QStringLiteral("namedImage:") + name, QStringLiteral("no image named \"%1\"").arg(name));
        return image;
    }
    // Decoded once, in the format a pixmap keeps: a pixmap made from it shares its pixels
    // instead of converting a copy of its own.
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    cache.insert(name, image);
    return image;
}

QPixmap namedPixmap(const QString &name)
{
    return QPixmap::fromImage(namedImage(name));
}
