#include "PZQRCode.h"

#include "PZLog.h"

#include <QFile>
#include <QPainter>

#include <qrencode.h>

#include <dlfcn.h>

#include <memory>

namespace pz {

namespace {

constexpr int kQuietZone = 2;

// libqrencode is loaded at the first code drawn, so that a process that never shows one
// does not map it.
struct QREncodeLibrary {
    decltype(&QRcode_encodeData) encodeData = nullptr;
    decltype(&QRcode_free) free = nullptr;
};

const QREncodeLibrary &qrencode()
{
    static const QREncodeLibrary lib = [] {
        QREncodeLibrary l;
        if (void *handle = dlopen("libqrencode.so.4", RTLD_NOW | RTLD_LOCAL)) {
            l.encodeData = reinterpret_cast<decltype(l.encodeData)>(dlsym(handle, "QRcode_encodeData"));
            l.free = reinterpret_cast<decltype(l.free)>(dlsym(handle, "QRcode_free"));
        }
        if (!l.encodeData || !l.free) {
            qxLogOnce(QStringLiteral("kit.qr.library"),
                      QStringLiteral("QR codes are not available: libqrencode.so.4 cannot be loaded"));
            l = {};
        }
        return l;
    }();
    return lib;
}

struct QRcodeDeleter {
    void operator()(QRcode *code) const { qrencode().free(code); }
};

QImage whiteImage(int side)
{
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    return image;
}

int sideOf(double size)
{
    // NaN and absurd sizes give nothing rather than a huge allocation.
    if (!(size >= 1.0) || size > 16384.0)
        return 0;
    return int(size);
}

} // namespace

QImage qrModuleImage(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    if (bytes.isEmpty() || !qrencode().encodeData)
        return {};
    // Byte mode keeps every byte, NULs included; level M is the usual default.
    std::unique_ptr<QRcode, QRcodeDeleter> code(qrencode().encodeData(
        int(bytes.size()), reinterpret_cast<const unsigned char *>(bytes.constData()), 0, QR_ECLEVEL_M));
    if (!code)
        return {};
    const int width = code->width;
    const int side = width + 2 * kQuietZone;
    QImage image = whiteImage(side);
    for (int y = 0; y < width; ++y) {
        uchar *line = image.scanLine(y + kQuietZone);
        for (int x = 0; x < width; ++x) {
            if (code->data[y * width + x] & 0x01)
                line[x + kQuietZone] = 0;
        }
    }
    return image;
}

QImage createNonInterpolatedUIImageFormCIImage(const QImage &moduleImage, double size)
{
    const int side = sideOf(size);
    if (side == 0)
        return {};
    if (moduleImage.isNull())
        return whiteImage(side);
    // Nearest-neighbour sampling: every output pixel takes the module under its
    // centre, so there are no grey edges.
    return moduleImage.convertToFormat(QImage::Format_Grayscale8)
        .scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage generatingTwoDimensionalCode(const QString &text, const QImage &centerImage, double size)
{
    const QImage modules = qrModuleImage(text);
    if (modules.isNull() && sideOf(size) > 0)
        qxLogOnce(QStringLiteral("kit.qr.empty"), QStringLiteral("QR code: nothing to encode, the image stays blank"));
    QImage image = createNonInterpolatedUIImageFormCIImage(modules, size);
    if (image.isNull() || centerImage.isNull())
        return image;
    image = image.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect square((image.width() - kQRCenterImageSide) / 2, (image.height() - kQRCenterImageSide) / 2,
                       kQRCenterImageSide, kQRCenterImageSide);
    painter.drawImage(square, centerImage);
    return image;
}

QImage generatingTwoDimensionalCode(const QString &text, const QString &centerImageName, double size)
{
    QImage center;
    if (!centerImageName.isEmpty()) {
        for (const QString &path :
             {QStringLiteral(":/images/%1.png").arg(centerImageName), QStringLiteral(":/%1").arg(centerImageName)}) {
            if (QFile::exists(path) && center.load(path))
                break;
        }
        if (center.isNull())
            qxLogOnce(QStringLiteral("kit.image.") + centerImageName,
                      QStringLiteral("no image resource named %1").arg(centerImageName));
    }
    return generatingTwoDimensionalCode(text, center, size);
}

} // namespace pz
