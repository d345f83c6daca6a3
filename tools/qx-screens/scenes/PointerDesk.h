#pragma once

// A desktop picture for the pointer's scenes: an offscreen display has no screen to
// take a picture of, so the overlays paint over this one as they would over a frozen
// screen.
#include "PointerOverlay.h"
#include "SceneWorld.h"

#include <QLinearGradient>
#include <QPainter>

inline QImage pointerFixtureDesktop(QSize size)
{
    QImage desk(size, QImage::Format_RGB32);
    QPainter p(&desk);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(58, 110, 165));
    sky.setColorAt(1, QColor(140, 180, 210));
    p.fillRect(desk.rect(), sky);
    // A slide show in a window.
    const QRect window(size.width() / 8, size.height() / 10, size.width() * 3 / 4, size.height() * 3 / 4);
    p.fillRect(window, QColor(250, 250, 250));
    p.fillRect(QRect(window.topLeft(), QSize(window.width(), 28)), QColor(225, 228, 232));
    QFont font = p.font();
    font.setPixelSize(34);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(40, 50, 70));
    p.drawText(window.adjusted(40, 60, -40, 0), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Quarterly results"));
    const QColor bars[] = {QColor(230, 126, 34), QColor(46, 204, 113), QColor(52, 152, 219), QColor(155, 89, 182)};
    for (int i = 0; i < 4; ++i) {
        const int h = 60 + i * 45;
        p.fillRect(window.left() + 80 + i * 110, window.bottom() - 40 - h, 70, h, bars[i]);
    }
    p.fillRect(QRect(0, size.height() - 36, size.width(), 36), QColor(30, 34, 40));
    return desk;
}

// The overlay of `effect` over the fixture, the pointer on the slide's bars.
inline QWidget *pointerScene(SceneWorld &world, PointerOverlay::Effect effect, PointerOverlay::Look look)
{
    const QSize size(1024, 640);
    auto *w = new PointerOverlay(nullptr, OverlayWindow::Kind::Snapshot, pointerFixtureDesktop(size), effect, look);
    w->resize(size);
    w->setPointer(QPointF(world.doubleOption(QStringLiteral("x")), world.doubleOption(QStringLiteral("y"))));
    return w;
}

inline QList<SceneOption> pointerOptions()
{
    return {{QStringLiteral("x"), QStringLiteral("420"), QStringLiteral("pointer x")},
            {QStringLiteral("y"), QStringLiteral("400"), QStringLiteral("pointer y")}};
}
