#include "PZImage.h"

#include "PZLog.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

#include <cmath>

namespace {
// Larger bitmaps are refused before QImage tries to allocate them.
constexpr double kMaxSide = 32768;

QByteArray encode(const QImage &image, const char *format, int quality)
{
    if (image.isNull())
        return {};
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        return {};
    return data;
}

// The folder part exactly as written: "a.png" has none (QFileInfo would say ".").
QString parentFolder(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return {};
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

bool writeData(const QByteArray &data, const QString &path)
{
    const QString folder = parentFolder(path);
    if (path.isEmpty() || folder.isEmpty() || path.endsWith(u'/'))
        return false;
    if (data.isEmpty())
        return false;
    if (!QDir().mkpath(folder)) {
        qxWarning("ui") << "cannot make folder" << folder;
        return false;
    }
    // Written beside the file and renamed over it: a crash part-way leaves the old file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qxWarning("ui") << "cannot write" << path << file.errorString();
        return false;
    }
    return file.write(data) == data.size() && file.commit();
}
} // namespace

PZImage pz_imageWithSize(const QSizeF &size, const std::function<void(QPainter &)> &draw)
{
    const double w = size.width();
    const double h = size.height();
    if (!std::isfinite(w) || !std::isfinite(h) || w < 1 || h < 1 || w > kMaxSide || h > kMaxSide)
        return {};
    QImage bitmap(int(std::floor(w)), int(std::floor(h)), QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull())
        return {};
    bitmap.fill(Qt::transparent);
    if (draw) {
        QPainter painter(&bitmap);
        draw(painter);
    }
    return {bitmap, size};
}

QByteArray pz_PNGData(const QImage &image)
{
    return encode(image, "png", -1);
}

QByteArray pz_JPEGData(const QImage &image)
{
    return encode(image, "jpeg", 100);
}

bool pz_writeToFileAsPNG(const QImage &image, const QString &path)
{
    return writeData(pz_PNGData(image), path);
}

bool pz_writeToFileAsJPEG(const QImage &image, const QString &path)
{
    return writeData(pz_JPEGData(image), path);
}
