#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

#include <functional>

class QPainter;

// An image drawn off screen: the bitmap in whole pixels and the size it stands for
// (fractions of a pixel are cut off the bitmap, not the size).
struct PZImage {
    QImage bitmap;
    QSizeF size;
    bool isNull() const { return bitmap.isNull(); }
};

// A transparent ARGB bitmap of floor(width) x floor(height) pixels, drawn by `draw`
// (called once, with a painter on the bitmap). A size under one pixel, negative,
// NaN or too large to allocate gives a null image and `draw` is not called.
PZImage pz_imageWithSize(const QSizeF &size, const std::function<void(QPainter &)> &draw);

// Encoded image data; empty for a null image.
QByteArray pz_PNGData(const QImage &image);
QByteArray pz_JPEGData(const QImage &image); // best quality

// Writes the encoded image to a path, creating missing parent folders. False for an
// empty path, a path with no folder part ("a.png"), a folder that cannot be made,
// an image that does not encode, or a failed write.
bool pz_writeToFileAsPNG(const QImage &image, const QString &path);
bool pz_writeToFileAsJPEG(const QImage &image, const QString &path);
