// qx-screens: renders the application's windows, pages and pop-ups in fixed states.
//   qx-screens --list
//   qx-screens SCENE --help
//   qx-screens SCENE [--key value ...] --out FILE.png
#include "Scene.h"
#include "SceneWorld.h"
#include "drawing/KitAppearance.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <memory>

namespace {
int usage()
{
    std::fprintf(stderr, "usage: qx-screens --list\n"
                         "       qx-screens SCENE --help\n"
                         "       qx-screens SCENE [--key value ...] --out FILE.png\n");
    return 2;
}

void printScene(const SceneDef &scene)
{
    std::printf("%s\t%s\n", qPrintable(scene.name), qPrintable(scene.summary));
    for (const SceneOption &o : scene.options)
        std::printf("  --%s %s\t%s\n", qPrintable(o.key), qPrintable(o.defaultValue), qPrintable(o.help));
}

// The window and every popup it opened (menus, tool tips, pop-up windows), each at
// its place on the screen, on white.
QImage compose(QWidget *window)
{
    QList<QWidget *> layers{window};
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != window && w->isVisible())
            layers.append(w);
    QRect bounds;
    for (QWidget *w : layers)
        bounds |= QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    QImage image(bounds.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (QWidget *w : layers) {
        QPixmap shot = w->grab();
        shot.setDevicePixelRatio(1);
        const QPoint at = w->mapToGlobal(QPoint(0, 0)) - bounds.topLeft();
        // A shaped window shows only its shape.
        if (!w->mask().isEmpty())
            painter.setClipRegion(w->mask().translated(at));
        painter.drawPixmap(at, shot);
        painter.setClipping(false);
    }
    return image;
}
} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty())
        return usage();
    if (args.first() == QLatin1String("--list")) {
        for (const SceneDef *scene : SceneRegistry::instance().all())
            std::printf("%s\t%s\n", qPrintable(scene->name), qPrintable(scene->summary));
        return 0;
    }

    const QString name = args.takeFirst();
    const SceneDef *scene = SceneRegistry::instance().find(name);
    if (!scene) {
        std::fprintf(stderr, "qx-screens: no scene \"%s\" (see --list)\n", qPrintable(name));
        return 2;
    }
    QString out;
    QMap<QString, QString> options;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--help")) {
            printScene(*scene);
            return 0;
        }
        if (!arg.startsWith(QLatin1String("--")) || args.isEmpty())
            return usage();
        const QString key = arg.mid(2);
        const QString value = args.takeFirst();
        if (key == QLatin1String("out")) {
            out = value;
            continue;
        }
        const bool known = std::any_of(scene->options.begin(), scene->options.end(),
                                       [&](const SceneOption &o) { return o.key == key; });
        if (!known) {
            std::fprintf(stderr, "qx-screens %s: no option --%s\n", qPrintable(scene->name), qPrintable(key));
            printScene(*scene);
            return 2;
        }
        options.insert(key, value);
    }
    if (out.isEmpty())
        return usage();

    // Without a display the pictures are drawn offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication::setApplicationName(QStringLiteral("qx-screens"));
    // The web engine (the AI window's scene) shares its context with the application's,
    // which offscreen must be asked for before the application exists; the other scenes
    // load no OpenGL. It draws without a GPU or background traffic here.
    if (scene->name == QLatin1String("ai-window"))
        QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                "--disable-gpu --disable-background-networking --disable-component-update --no-first-run");
    QApplication app(argc, argv);
    qxApplyLightAppearance();

    SceneWorld world(*scene, options);
    std::unique_ptr<QWidget> window(scene->build(world));
    if (!window) {
        std::fprintf(stderr, "qx-screens %s: the scene built nothing\n", qPrintable(scene->name));
        return 1;
    }
    window->setWindowTitle(scene->name);
    if (!window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    window->move(0, 0);
    window->show();
    // Focus needs an active window; a display without a window manager may refuse
    // it, and the picture is taken all the same.
    (void)QTest::qWaitForWindowExposed(window.get(), 2000);
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window.get(), 1000);
    world.runAfterShow();
    QApplication::processEvents();
    QApplication::processEvents();

    const QImage image = compose(window.get());
    if (image.isNull() || !image.save(out, "PNG")) {
        std::fprintf(stderr, "qx-screens %s: cannot write %s\n", qPrintable(scene->name), qPrintable(out));
        return 1;
    }
    return 0;
}
