// qx-screens: renders the application's windows, pages and pop-ups in fixed states.
//   qx-screens --list
//   qx-screens SCENE --help
//   qx-screens SCENE [--key value ...] --out FILE.png
//   qx-screens --check [--languages all|0,2,...] [--scenes a,b,...] [--tables DIR]
//   qx-screens --switch [--scenes a,b,...]
#include "HRVLocalizedString.h"
#include "LayoutCheck.h"
#include "NotificationNames.h"
#include "QXLanguageManager.h"
#include "Scene.h"
#include "SceneWorld.h"
#include "StaleTexts.h"
#include "desktop/QtOwnTexts.h"
#include "drawing/KitAppearance.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QTemporaryFile>
#include <QTest>
#include <QWidget>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {
int usage()
{
    std::fprintf(stderr, "usage: qx-screens --list\n"
                         "       qx-screens SCENE --help\n"
                         "       qx-screens SCENE [--language N] [--key value ...] --out FILE.png\n"
                         "       qx-screens --check [--languages all|0,2,...] [--scenes a,b,...] [--tables DIR]\n"
                         "       qx-screens --switch [--scenes a,b,...]\n");
    return 2;
}

void printScene(const SceneDef &scene)
{
    std::printf("%s\t%s\n", qPrintable(scene.name), qPrintable(scene.summary));
    for (const SceneOption &o : scene.options)
        std::printf("  --%s %s\t%s\n", qPrintable(o.key), qPrintable(o.defaultValue), qPrintable(o.help));
}

// The window and every popup it opened (menus, tool tips, pop-up windows), each at
// its place on the screen, on white. A window that holds another program's window is
// taken from the X server, where both are drawn.
QImage compose(QWidget *window, bool fromScreen = false)
{
    if (fromScreen && QGuiApplication::platformName() == QLatin1String("xcb") && window->screen())
        return window->screen()->grabWindow(window->winId()).toImage();
    QList<QWidget *> layers{window};
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != window && w->isVisible())
            layers.append(w);
    QRect bounds;
    for (QWidget *w : layers)
        bounds |= QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    // In device pixels: at a scale factor of 2 the picture is twice the window's size.
    const qreal ratio = window->devicePixelRatioF();
    QImage image(bounds.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (QWidget *w : layers) {
        const QPixmap shot = w->grab();
        const QPoint at = w->mapToGlobal(QPoint(0, 0)) - bounds.topLeft();
        // A shaped window shows only its shape.
        if (!w->mask().isEmpty())
            painter.setClipRegion(w->mask().translated(at));
        painter.drawPixmap(at, shot);
        painter.setClipping(false);
    }
    return image;
}

// A scene's picture in its first language, and whether another language drew it
// otherwise. Pictures are compared in grey at the window's own size: a language shows
// in whole words, where two drawings of the same text differ at most in the shading
// of a few glyph edges.
struct SceneLook {
    QImage first;
    bool changes = false;

    void add(const QImage &picture)
    {
        const QSize size = picture.deviceIndependentSize().toSize();
        const QImage grey =
            (picture.size() == size ? picture : picture.scaled(size)).convertToFormat(QImage::Format_Grayscale8);
        if (first.isNull()) {
            first = grey;
            return;
        }
        if (changes)
            return;
        if (grey.size() != first.size()) {
            changes = true;
            return;
        }
        qsizetype differing = 0;
        for (int y = 0; y < grey.height(); ++y) {
            const uchar *a = first.constScanLine(y), *b = grey.constScanLine(y);
            for (int x = 0; x < grey.width(); ++x)
                differing += std::abs(int(a[x]) - int(b[x])) > 64;
        }
        changes = differing > 8;
    }
};

// Shows the scene's window the way a user first sees it: laid out, placed at the
// screen's corner, active, with the scene's after-show steps done.
void present(QWidget *window, const SceneDef &scene, SceneWorld &world)
{
    window->setWindowTitle(scene.name);
    if (!window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    window->move(0, 0);
    window->show();
    // Focus needs an active window; a display without a window manager may refuse
    // it, and the picture is taken all the same.
    (void)QTest::qWaitForWindowExposed(window, 2000);
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window, 1000);
    world.runAfterShow();
    QApplication::processEvents();
    QApplication::processEvents();
}

QList<int> parseLanguages(const QString &value)
{
    QList<int> languages;
    if (value == QLatin1String("all")) {
        for (int i = 0; i < int(QXLanguageManager::kUiLanguageCount); ++i)
            languages << i;
        return languages;
    }
    for (const QString &part : value.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int index = part.toInt(&ok);
        if (!ok || index < 0 || index >= int(QXLanguageManager::kUiLanguageCount))
            return {};
        languages << index;
    }
    return languages;
}

// Offscreen, on one full-HD screen (in device pixels at the scale factor asked for),
// so pop-ups placed against the screen's edges land where they would on a desktop at
// every scale (Qt's own offscreen screen is 800 x 600 device pixels).
// The screen's description is read while the application object is made: it is kept
// until then, and goes with the returned file.
std::unique_ptr<QTemporaryFile> useFullHdScreen()
{
    const double asked = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    const double scale = std::isfinite(asked) ? qMax(1.0, asked) : 1.0;
    auto file = std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("qx-screens-check-XXXXXX.json")));
    if (file->open()) {
        file->write(QStringLiteral(R"({"screens":[{"name":"check","x":0,"y":0,"width":%1,"height":%2,)"
                                   R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}],"windowFrameMargins":false})")
                        .arg(qRound(1920 * scale))
                        .arg(qRound(1080 * scale))
                        .toUtf8());
        file->close();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + file->fileName().toLocal8Bit());
    return file;
}

// Qt's own texts (the standard buttons, the dialogs, the fields' context menus) in the
// scene's interface language, following each switch, as the application loads them.
void followQtTexts(QtOwnTexts &texts, SceneWorld &world)
{
    QXLanguageManager &languages = world.pages().data.languages();
    texts.follow(languages.uiLanguageIndex());
    world.pages().notifications.addObserver(
        QString::fromLatin1(qx::notify::kUpdateTitleNotification), &texts,
        [&texts, &languages](const QVariant &) { texts.follow(languages.uiLanguageIndex()); });
}

// Scenes whose window the check passes over, and why.
bool skippedByCheck(const QString &scene)
{
    // Its content is a web page, laid out by the browser engine; starting one per
    // language would cost more than the rest of the check.
    return scene == QLatin1String("ai-window");
}

int runCheck(QStringList args, int argc, char **argv)
{
    QList<int> languages{0, 1, 2};
    QStringList only;
    QString tables;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (args.isEmpty())
            return usage();
        const QString value = args.takeFirst();
        if (arg == QLatin1String("--languages"))
            languages = parseLanguages(value);
        else if (arg == QLatin1String("--scenes"))
            only = value.split(u',', Qt::SkipEmptyParts);
        else if (arg == QLatin1String("--tables"))
            tables = value;
        else
            return usage();
    }
    if (languages.isEmpty())
        return usage();
    QList<const SceneDef *> scenes;
    for (const SceneDef *scene : SceneRegistry::instance().all())
        if ((only.isEmpty() || only.contains(scene->name)) && !skippedByCheck(scene->name))
            scenes << scene;
    if (scenes.isEmpty())
        return usage();

    const std::unique_ptr<QTemporaryFile> screenDescription = useFullHdScreen();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qx-screens"));
    qxApplyLightAppearance();
    if (!tables.isEmpty())
        HRVLocalizedString::setTableDirectory(tables);
    QtOwnTexts qtTexts;

    QElapsedTimer clock;
    clock.start();
    int faults = 0, excused = 0;
    QHash<QString, SceneLook> looks;
    for (const int language : languages) {
        const QString folder = HRVLocalizedString::folderForIndex(quint64(language));
        for (const SceneDef *scene : scenes) {
            QMap<QString, QString> options;
            for (const SceneOption &o : scene->options)
                if (o.key == QLatin1String("lang") || o.key == QLatin1String("language"))
                    options.insert(o.key, QString::number(language));
            SceneWorld world(*scene, options);
            world.pages().data.languages().setUiLanguageIndex(quint64(language));
            followQtTexts(qtTexts, world);
            std::unique_ptr<QWidget> window(scene->build(world));
            if (!window) {
                std::printf("%s [%s] the scene built nothing\n", qPrintable(scene->name), qPrintable(folder));
                ++faults;
                continue;
            }
            present(window.get(), *scene, world);
            // Drawn once (some controls settle while painting), and kept to compare
            // with the other languages.
            const QImage look = compose(window.get());
            looks[scene->name].add(look);
            for (const LayoutFinding &f : inspectLayout(window.get())) {
                QString why;
                if (isLayoutException(scene->name, f, &why)) {
                    ++excused;
                    continue;
                }
                ++faults;
                std::printf("%s [%s] %s: %s: %s\n", qPrintable(scene->name), qPrintable(folder), qPrintable(f.kind),
                            qPrintable(f.widget), qPrintable(f.detail));
            }
            window.reset();
            for (QWidget *w : QApplication::topLevelWidgets())
                w->hide();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    // A scene drawn alike in every language shows no text a language changes: either
    // it has none to show, or it draws a fixed one where a table's should be.
    for (const SceneDef *scene : scenes) {
        if (languages.size() < 2)
            break;
        if (looks.value(scene->name).changes || isFixedTextScene(scene->name))
            continue;
        ++faults;
        std::printf("%s: fixed-text: the same picture in every language of the run\n", qPrintable(scene->name));
    }
    std::printf("layout check: %lld scenes x %lld languages at scale %s in %.1f s: %d findings, %d named exceptions\n",
                qlonglong(scenes.size()), qlonglong(languages.size()),
                qgetenv("QT_SCALE_FACTOR").isEmpty() ? "1" : qgetenv("QT_SCALE_FACTOR").constData(),
                double(clock.elapsed()) / 1000.0, faults, excused);
    std::fflush(stdout);
    return faults == 0 ? 0 : 1;
}
// Scenes the language switch check passes over, and why.
bool skippedBySwitchCheck(const QString &scene)
{
    // The kit's boards caption samples with texts of their own; a tip and the speech
    // pop-up show the message of the moment, given each time they show; the status
    // menu is drawn by the scene itself (the application builds it anew on a change).
    return scene.startsWith(QLatin1String("kit-")) || scene == QLatin1String("tip")
           || scene == QLatin1String("popup-listening") || scene == QLatin1String("tray-menu") || skippedByCheck(scene);
}

// What a scene shows as the user's own (stored entries), which no language changes.
QSet<QString> userTexts(const QString &scene)
{
    if (scene == QLatin1String("hotwords"))
        return {QStringLiteral(R"(["热词"])"), QStringLiteral(R"(["Quorvex","AI 鼠标","语音输入"])")};
    return {};
}

// Every scene built in Chinese, then the interface language picked as the language row
// picks it, twice: each text of the window and its pop-ups must follow. Lists the texts
// still in a language left behind.
int runSwitchCheck(QStringList args, int argc, char **argv)
{
    QStringList only;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg != QLatin1String("--scenes") || args.isEmpty())
            return usage();
        only = args.takeFirst().split(u',', Qt::SkipEmptyParts);
    }
    const std::unique_ptr<QTemporaryFile> screenDescription = useFullHdScreen();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qx-screens"));
    qxApplyLightAppearance();
    QtOwnTexts qtTexts;
    int scenes = 0, faults = 0;
    for (const SceneDef *scene : SceneRegistry::instance().all()) {
        if ((!only.isEmpty() && !only.contains(scene->name)) || skippedBySwitchCheck(scene->name))
            continue;
        ++scenes;
        QMap<QString, QString> options;
        for (const SceneOption &o : scene->options)
            if (o.key == QLatin1String("lang") || o.key == QLatin1String("language"))
                options.insert(o.key, QStringLiteral("0"));
        SceneWorld world(*scene, options);
        world.pages().data.languages().setUiLanguageIndex(0);
        followQtTexts(qtTexts, world);
        std::unique_ptr<QWidget> window(scene->build(world));
        if (!window) {
            std::printf("%s: the scene built nothing\n", qPrintable(scene->name));
            ++faults;
            continue;
        }
        present(window.get(), *scene, world);
        for (const quint64 language : {3, 7}) { // 日本語, Deutsch
            QXLanguageManager &languages = world.pages().data.languages();
            languages.setUiLanguageIndex(language);
            languages.shouldRefreshData();
            // The application has one manager; a scene that installed one of its own
            // has it picked too.
            QXLanguageManager::sharedInstance().setUiLanguageIndex(language);
            world.pages().notifications.post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
            QApplication::processEvents();
            QStringList texts = shownTexts(window.get());
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w != window.get() && w->isVisible())
                    texts << shownTexts(w);
            const QSet<QString> passed = userTexts(scene->name) + languageListNames(languages);
            for (const QString &text : textsInAnotherLanguage(texts, language, passed)) {
                ++faults;
                std::printf("%s [%s] still shows \"%s\"\n", qPrintable(scene->name),
                            qPrintable(HRVLocalizedString::folderForIndex(language)), qPrintable(text));
            }
        }
        window.reset();
        for (QWidget *w : QApplication::topLevelWidgets())
            w->hide();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("language switch: %d scenes: %d texts left behind\n", scenes, faults);
    std::fflush(stdout);
    return faults == 0 && scenes > 0 ? 0 : 1;
}
} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty())
        return usage();
    if (args.first() == QLatin1String("--check"))
        return runCheck(args.mid(1), argc, argv);
    if (args.first() == QLatin1String("--switch"))
        return runSwitchCheck(args.mid(1), argc, argv);
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
    int language = -1; // --language N: the interface language, as the check sets it
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
        if (key == QLatin1String("language")
            && std::none_of(scene->options.begin(), scene->options.end(),
                            [](const SceneOption &o) { return o.key == QLatin1String("language"); })) {
            bool ok = false;
            language = value.toInt(&ok);
            if (!ok || language < 0)
                return usage();
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
    std::unique_ptr<QTemporaryFile> screenDescription;
    if ((qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
         && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        || qgetenv("QT_QPA_PLATFORM") == "offscreen")
        screenDescription = useFullHdScreen();
    QApplication::setApplicationName(QStringLiteral("qx-screens"));
    // The AI window's helper draws its page without background traffic here.
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                "--disable-background-networking --disable-component-update --no-first-run");
    QApplication app(argc, argv);
    qxApplyLightAppearance();

    if (language >= 0)
        for (const SceneOption &o : scene->options)
            if (o.key == QLatin1String("lang"))
                options.insert(o.key, QString::number(language));
    SceneWorld world(*scene, options);
    if (language >= 0)
        world.pages().data.languages().setUiLanguageIndex(quint64(language));
    QtOwnTexts qtTexts;
    followQtTexts(qtTexts, world);
    std::unique_ptr<QWidget> window(scene->build(world));
    if (!window) {
        std::fprintf(stderr, "qx-screens %s: the scene built nothing\n", qPrintable(scene->name));
        return 1;
    }
    present(window.get(), *scene, world);

    const QImage image = compose(window.get(), world.fromScreen());
    if (image.isNull() || !image.save(out, "PNG")) {
        std::fprintf(stderr, "qx-screens %s: cannot write %s\n", qPrintable(scene->name), qPrintable(out));
        return 1;
    }
    return 0;
}
