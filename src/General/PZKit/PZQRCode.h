#pragma once

#include <QImage>
#include <QString>

// QR codes for the pages (the account page shows one with the app icon in the middle).
// Images are 1 pixel per point; modules are scaled without smoothing, so every module
// is a block of pure black or white pixels.
namespace pz {

// Side of the centre picture in pixels, whatever the size of the code.
inline constexpr int kQRCenterImageSide = 16;

// One pixel per module (black on white, a two-module quiet zone), error correction
// level M, the text's UTF-8 bytes in byte mode. A null image when the text is empty
// or too long for any QR version.
QImage qrModuleImage(const QString &text);

// Scales a module image to size x size pixels with nearest-neighbour sampling
// (Grayscale8). A null module image gives a white image; size < 1 a null image.
QImage createNonInterpolatedUIImageFormCIImage(const QImage &moduleImage, double size);

// The code of text at size x size pixels. With a centre image, it is drawn in a
// 16 x 16 square at ((size - 16) / 2, (size - 16) / 2). An empty or unencodable text
// gives a white image of the size (logged once).
QImage generatingTwoDimensionalCode(const QString &text, const QImage &centerImage, double size);
// The same with the centre picture looked up by resource name (":/images/<name>.png",
// then ":/<name>"); an empty name draws no centre, a name without a resource leaves
// the centre undrawn.
QImage generatingTwoDimensionalCode(const QString &text, const QString &centerImageName, double size);

} // namespace pz
