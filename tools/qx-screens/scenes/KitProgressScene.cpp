// The kit's drawn and animated controls: slider, rings, image bar and a GIF view.
#include "SceneBoard.h"
#include "SceneWorld.h"

#include "controls/QXLabel.h"
#include "controls/QXSliderCell.h"
#include "drawing/KitAppearance.h"
#include "views/CustomProgress.h"
#include "views/QXGifView.h"
#include "views/RWProgressView.h"

#include <QFile>
#include <QLabel>

namespace {
QWidget *build(SceneWorld &world)
{
    auto *board = new SceneBoard(QStringLiteral("Progress and animation"));

    for (int value : {1, 3, 5}) {
        auto *slider = new QXSliderCell;
        slider->setRange(1, 5);
        slider->setValue(value);
        board->add(QStringLiteral("QXSliderCell, 1 to 5, at %1").arg(value), slider, QSize(200, 24));
    }

    QList<QWidget *> rings;
    for (double p : {0.0, 0.4, 1.0}) {
        auto *ring = new RWProgressView;
        ring->setFixedSize(44, 44);
        ring->setProgress(p);
        rings << ring;
    }
    board->addGroup(QStringLiteral("RWProgressView at 0, 0.4 and 1"), rings);

    auto *bar = new CustomProgress;
    bar->setFixedSize(240, 10);
    QPalette track = bar->bgimg()->palette(); // keeps the border colour
    track.setColor(QPalette::Window, Qt::white);
    bar->bgimg()->setAutoFillBackground(true);
    bar->bgimg()->setPalette(track);
    QPalette fill;
    fill.setColor(QPalette::Window, qxAccentColor());
    bar->leftimg()->setAutoFillBackground(true);
    bar->leftimg()->setPalette(fill);
    bar->setMaxValue(100);
    const int percent = world.intOption(QStringLiteral("bar"));
    bar->setPresent(percent);
    board->add(QStringLiteral("CustomProgress at %1 %").arg(percent), bar);

    auto *gif = new QXGifView;
    QFile file(QStringLiteral(":/screens/three_frames_50x40.gif"));
    file.open(QIODevice::ReadOnly);
    gif->setImage(file.readAll());
    board->add(
        QStringLiteral("QXGifView, 50 x 40 GIF in 120 x 60, frame %1").arg(world.intOption(QStringLiteral("frame"))),
        gif, QSize(120, 60));
    // Virtual time picks the frame shown.
    world.scheduler().advance(qint64(gif->frameIntervalMs()) * world.intOption(QStringLiteral("frame")));
    return board;
}

const SceneRegistrar reg({QStringLiteral("kit-progress"),
                          QStringLiteral("slider at 1, 3 and 5, rings at 0, 0.4 and 1, image bar, GIF view"),
                          {{QStringLiteral("bar"), QStringLiteral("50"), QStringLiteral("image bar value, 0 to 100")},
                           {QStringLiteral("frame"), QStringLiteral("1"), QStringLiteral("GIF frame shown")}},
                          build});
} // namespace
