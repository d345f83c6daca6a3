#pragma once

#include "platform/IScreenGrabber.h"

#include <QImage>
#include <QScreen>

#include <functional>

// Screen pictures painted from a pattern: every device pixel (x, y) of the desktop has
// a colour from its global position (pattern()), so a crop shows where it came from.
// failing makes grabs give nothing; grabs counts them.
class FakeScreenGrabber : public platform::IScreenGrabber {
public:
    bool available = true;
    bool failing = false;
    int grabs = 0;
    // The colour of the desktop at a global device-pixel position.
    std::function<QRgb(int x, int y)> pattern = [](int x, int y) {
        return qRgb(x % 256, y % 256, (x / 256) * 16 + (y / 256));
    };

    bool isAvailable() const override { return available; }
    QImage grab(const QScreen *screen, const QRect &area = {}) override
    {
        ++grabs;
        if (!available || failing || !screen)
            return {};
        const QRect whole(QPoint(0, 0), screen->geometry().size());
        const QRect part = area.isEmpty() ? whole : area.intersected(whole);
        if (part.isEmpty())
            return {};
        const qreal dpr = screen->devicePixelRatio();
        QImage image((QSizeF(part.size()) * dpr).toSize(), QImage::Format_RGB32);
        const QPoint origin = ((screen->geometry().topLeft() + part.topLeft()) * dpr);
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = pattern(origin.x() + x, origin.y() + y);
        }
        image.setDevicePixelRatio(dpr);
        return image;
    }
};
