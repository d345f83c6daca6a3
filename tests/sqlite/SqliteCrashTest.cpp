#include "SignalChild.h"
#include "SqliteTestSupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <signal.h>

namespace {

constexpr int kBatchRows = 6000;

class SqliteCrashTest : public StoreTest {
protected:
    void startChild(QProcess &child)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QX_DATA_DIR", root.path());
        child.setProcessEnvironment(env);
        child.start(QStringLiteral(QX_SQLITE_BATCH_CHILD), {QString::number(kBatchRows)});
        ASSERT_TRUE(child.waitForStarted(30000));
    }
};

TEST_F(SqliteCrashTest, KilledInTheMiddleOfABatchLeavesNoneOfIt)
{
    ASSERT_TRUE(store.createTableWithtableName<QXVoiceCommandItem>(kCustomTable));
    BatchReply<QXVoiceCommandItem> earlier;
    store.insertsDataBaseWithtableName(kCustomTable, {voiceItem("text", "kept-1"), voiceItem("file", "kept-2")},
                                       earlier.completion());
    ASSERT_TRUE(earlier.ok);
    {
        RawDatabase raw(databasePath());
        raw.exec("create trigger marker after insert on DBCustomizeCmdList when NEW.customCmd = 'batch-4500' "
                 "begin select batch_marker(); end");
    }
    const qint64 sizeBefore = QFileInfo(databasePath()).size();

    QProcess child;
    startChild(child);
    ASSERT_TRUE(child.waitForReadyRead(60000)) << child.readAllStandardError().toStdString();
    ASSERT_EQ(child.readAllStandardOutput(), "mid\n");
    // 4500 rows of a kilobyte each do not fit SQLite's page cache: part of the batch
    // has already gone into the database file, and only the journal can undo it.
    const QString journal = databasePath() + "-journal";
    EXPECT_TRUE(QFileInfo::exists(journal));
    ASSERT_TRUE(signalChild(child, SIGKILL));
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    EXPECT_GT(QFileInfo(databasePath()).size(), sizeBefore);
    EXPECT_TRUE(QFileInfo::exists(journal));

    {
        WQSSqliteOperation reopened;
        QString error;
        const auto items = reopened.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable, &error);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        ASSERT_EQ(items.size(), 2);
        EXPECT_EQ(items[0].customCmd, "kept-1");
        EXPECT_EQ(items[1].customCmd, "kept-2");
    }
    RawDatabase raw(databasePath());
    EXPECT_EQ(raw.value("pragma integrity_check"), "ok");
    EXPECT_FALSE(QFileInfo::exists(journal));

    // The same batch run to its end is stored whole.
    raw.exec("drop trigger marker");
    QProcess again;
    startChild(again);
    ASSERT_TRUE(again.waitForFinished(120000));
    EXPECT_EQ(again.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(again.exitCode(), 0) << again.readAll().toStdString() << again.readAllStandardError().toStdString();
    EXPECT_EQ(raw.value("select count(*) from DBCustomizeCmdList"), QString::number(kBatchRows + 2));
    EXPECT_EQ(raw.value("select count(distinct customCmd) from DBCustomizeCmdList where customCmd like 'batch-%'"),
              QString::number(kBatchRows));
}

} // namespace
