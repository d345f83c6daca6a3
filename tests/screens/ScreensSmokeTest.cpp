// Every scene the screens tool lists renders a picture with something on it.
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
struct ToolRun {
    int exitCode = -1;
    QByteArray out, err;
};

// Scenes that show another program's window inside one of ours (the AI window holds
// its helper's page): they need an X server and are drawn there, in their own run.
const QStringList kSceneOnX11{QStringLiteral("ai-window")};

ToolRun runTool(const QStringList &args, const QString &scale = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!scale.isEmpty())
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
    if (args.isEmpty() || !kSceneOnX11.contains(args.first()))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QX_SCREENS_EXE), args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, "timed out"};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

int colourCount(const QImage &image, int atMost)
{
    QSet<QRgb> colours;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height() && colours.size() < atMost; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width() && colours.size() < atMost; ++x)
            colours.insert(line[x]);
    }
    return int(colours.size());
}
} // namespace

#ifdef QX_SCREENS_ON_X11
#define QX_SMOKE_SUITE ScreensSmokeX11
#else
#define QX_SMOKE_SUITE ScreensSmoke
#endif

TEST(QX_SMOKE_SUITE, EveryListedSceneRendersAPictureWithContent)
{
    const ToolRun list = runTool({QStringLiteral("--list")});
    ASSERT_EQ(list.exitCode, 0) << list.err.constData();
    QStringList scenes;
    for (const QByteArray &line : list.out.split('\n'))
        if (!line.isEmpty())
            scenes << QString::fromUtf8(line.split('\t').first());
    ASSERT_FALSE(scenes.isEmpty());

#ifdef QX_SCREENS_ON_X11
    scenes = kSceneOnX11;
#else
    scenes.removeIf([](const QString &scene) { return kSceneOnX11.contains(scene); });
#endif
    QTemporaryDir dir;
    for (const QString &scene : scenes) {
        SCOPED_TRACE(scene.toStdString());
        const QString file = dir.filePath(scene + QStringLiteral(".png"));
        const ToolRun r = runTool({scene, QStringLiteral("--out"), file});
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        const QImage image(file);
        ASSERT_FALSE(image.isNull());
        EXPECT_GT(image.width(), 1);
        EXPECT_GT(image.height(), 1);
        EXPECT_GE(colourCount(image, 2), 2) << "a single colour";
    }
}

#ifndef QX_SCREENS_ON_X11
TEST(ScreensSmoke, BadCommandLinesAreUsageErrors)
{
    const QStringList cases[] = {
        {},
        {QStringLiteral("no-such-scene"), QStringLiteral("--out"), QStringLiteral("x.png")},
        {QStringLiteral("kit-text")}, // no --out
        {QStringLiteral("kit-text"), QStringLiteral("--nonsense"), QStringLiteral("1"), QStringLiteral("--out"),
         QStringLiteral("x.png")},
        {QStringLiteral("kit-text"), QStringLiteral("--out")}, // option without a value
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        EXPECT_EQ(runTool(args).exitCode, 2);
    }
}

// A scene stands on a full-HD screen at every scale, as on a desktop (Qt's own offscreen
// screen is 800 x 600 device pixels): the loupe covers the screen it is on.
TEST(ReadScreens, ScenesStandOnAFullHdScreenAtEveryScale)
{
    QTemporaryDir dir;
    for (const int scale : {1, 2}) {
        const QString file = dir.filePath(QStringLiteral("loupe%1.png").arg(scale));
        const ToolRun r = runTool({QStringLiteral("loupe"), QStringLiteral("--out"), file}, QString::number(scale));
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        EXPECT_EQ(QImage(file).size(), QSize(1920, 1080) * scale) << scale;
    }
}
#endif
