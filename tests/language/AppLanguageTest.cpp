// Runs the real application over a fresh data root, stops it, and runs it again.
#include "KeyValueStore.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Starts the application, waits for the line that reports the interface language,
// then asks it to quit (SIGTERM) and returns that line.
QString runOnce(const QString &dataDir)
{
    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QX_DATA_DIR", dataDir);
    env.insert("LANG", "en_US.UTF-8");
    env.insert("LC_ALL", "en_US.UTF-8");
    env.insert("LANGUAGE", "en_US");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    app.setProcessEnvironment(env);
    app.setProcessChannelMode(QProcess::MergedChannels);
    app.start(QStringLiteral(QX_APP_EXE), {});
    if (!app.waitForStarted(10000))
        return QStringLiteral("did not start: ") + app.errorString();

    QString found;
    QByteArray output;
    while (found.isEmpty() && app.state() == QProcess::Running && app.waitForReadyRead(20000)) {
        output += app.readAll();
        for (const QByteArray &line : output.split('\n')) {
            if (line.contains("interface language"))
                found = QString::fromUtf8(line.trimmed());
        }
    }
    app.terminate();
    if (!app.waitForFinished(10000)) {
        app.kill();
        app.waitForFinished();
    }
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app.exitCode(), 0);
    if (found.isEmpty())
        ADD_FAILURE() << "no language line in: " << (output + app.readAll()).toStdString();
    return found;
}

TEST(AppLanguage, FirstRunUnderAnEnglishSessionStartsInChineseAndTheChoiceSurvivesRestarts)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    EXPECT_TRUE(runOnce(root.path()).endsWith("ZH_CN"));
    {
        IniKeyValueStore prefs(root.filePath("preferences.ini"));
        EXPECT_TRUE(prefs.boolValue("setSelectLanguage"));
        EXPECT_EQ(prefs.intValue("uiLanguageIndexKey"), 0);
    }
    EXPECT_TRUE(runOnce(root.path()).endsWith("ZH_CN")); // a restart keeps it

    {
        IniKeyValueStore prefs(root.filePath("preferences.ini"));
        prefs.setValue("uiLanguageIndexKey", 2); // as the settings page stores a choice
    }
    EXPECT_TRUE(runOnce(root.path()).endsWith("EN_US"));
    EXPECT_TRUE(runOnce(root.path()).endsWith("EN_US"));
}

} // namespace
