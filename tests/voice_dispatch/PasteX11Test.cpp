// Against a real X server: the last result of a recognition, 500 characters of mixed
// scripts, lands in another application's focused field through the real clipboard
// and XTest, byte for byte.
#include "DispatchWorld.h"
#include "XTestDriver.h"

#include "platform/linux/LinuxDesktopServices.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Exactly `count` code points: Latin, CJK, emoji, quotation marks, one line break.
QString mixedText(int count)
{
    const QString pieces[] = {"Quick brown fox, ",    "说话变成文字。", "🎤🙂👍",
                              "\"quoted\" 'single' ", "“智能”鼠标，",   "«Ärger über Öl» ",
                              "日本語のテキスト。",   "Привет, мир! ",  "한국어 "};
    QList<uint> points;
    for (int i = 0; points.size() < count; ++i) {
        if (points.size() >= count / 2 && !points.contains(u'\n'))
            points << u'\n';
        points << pieces[i % std::size(pieces)].toUcs4();
    }
    points.resize(count);
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(points.constData()), points.size());
}

// The other application: reports its field's text on every change.
struct PasteTarget {
    QProcess process;
    QByteArray pending;
    QString text;
    QRect field;

    explicit PasteTarget(const char *kind)
    {
        process.start(QStringLiteral(QX_PASTE_TARGET), {QString::fromLatin1(kind)});
        process.waitForStarted();
    }
    ~PasteTarget()
    {
        process.closeWriteChannel();
        if (!process.waitForFinished(2000))
            process.kill();
    }
    void read()
    {
        pending += process.readAllStandardOutput();
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QByteArray line = pending.left(end);
            if (line.startsWith("text "))
                text = QString::fromUtf8(QByteArray::fromBase64(line.mid(5)));
            const QList<QByteArray> f = line.split(' ');
            if (f.first() == "ready" && f.size() == 5)
                field = QRect(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt());
        }
    }
    bool waitFor(const std::function<bool()> &condition)
    {
        return QTest::qWaitFor([&] { return read(), condition(); }, 10000);
    }
};

// Both kinds of field: a QLineEdit keeps a pasted line break in its text (it shows it
// as a glyph), a QPlainTextEdit as a new paragraph; either way the bytes must match.
TEST(Vox2X11, LastResultLandsInAnotherApplicationsFieldByteForByte)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server; run under xvfb-run";
    platform::linuxbackend::LinuxDesktopServices services;
    ASSERT_TRUE(platform::services().keyPoster->isAvailable());
    const QString spoken = mixedText(500);
    ASSERT_EQ(spoken.toUcs4().size(), 500);
    for (const char *kind : {"plain", "line"}) {
        PasteTarget target(kind);
        ASSERT_TRUE(target.waitFor([&] { return target.field.isValid(); })) << kind;
        XTestDriver driver;
        driver.moveTo(target.field.center()); // without a window manager the focus follows the pointer
        DispatchWorld w(platform::services().keyPoster, platform::services().clipboard);
        w.key(0, 33);
        w.key(2000, 34);
        w.asr.say(spoken, 2);
        EXPECT_TRUE(target.waitFor([&] { return target.text == spoken; })) << kind;
        EXPECT_EQ(target.text.toUtf8(), spoken.toUtf8()) << kind;
        EXPECT_EQ(driver.keysHeld(), 0);
    }
}

} // namespace
