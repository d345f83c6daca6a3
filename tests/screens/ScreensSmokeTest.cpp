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

ToolRun runTool(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Under AddressSanitizer, Chromium inside QtWebEngine (the AI window's scene) frees
    // some of its own objects through a type of another size and keeps memory until
    // exit: Qt's library, not this code.
    if (env.contains(QStringLiteral("ASAN_OPTIONS")) && args.contains(QStringLiteral("ai-window")))
        env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS"))
                                                       + QStringLiteral(":new_delete_type_mismatch=0:detect_leaks=0"));
    // Under ThreadSanitizer its threads race on libraries none of which is instrumented.
    if (env.contains(QStringLiteral("TSAN_OPTIONS")) && args.contains(QStringLiteral("ai-window")))
        env.insert(QStringLiteral("TSAN_OPTIONS"),
                   env.value(QStringLiteral("TSAN_OPTIONS")) + QStringLiteral(" report_bugs=0"));
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

TEST(ScreensSmoke, EveryListedSceneRendersAPictureWithContent)
{
    const ToolRun list = runTool({QStringLiteral("--list")});
    ASSERT_EQ(list.exitCode, 0) << list.err.constData();
    QStringList scenes;
    for (const QByteArray &line : list.out.split('\n'))
        if (!line.isEmpty())
            scenes << QString::fromUtf8(line.split('\t').first());
    ASSERT_FALSE(scenes.isEmpty());

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
