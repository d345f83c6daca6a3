#include "SqliteTestSupport.h"

#include "InstalledInstance.h"
#include "PZLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {

using SqliteStoreTest = StoreTest;

TEST_F(SqliteStoreTest, CreatesUntypedTablesInDeclarationOrderOnce)
{
    ASSERT_TRUE(store.createTableWithtableName<QXVoiceCommandItem>(kCustomTable));
    ASSERT_TRUE(store.createTableWithtableName<QXTransferAudioModel>(kTransferTable));
    EXPECT_TRUE(QFile::exists(databasePath()));

    RawDatabase raw(databasePath());
    const QString columns = "select group_concat(name || ':' || type, ',') from pragma_table_info('%1')";
    EXPECT_EQ(raw.value(columns.arg(kCustomTable)), "cmdType:,customCmd:,customName:,cmdWord:,cmdExecute:,typeIndex:");
    EXPECT_EQ(raw.value(columns.arg(kTransferTable)), "idStr:,path:,updateTime:,result:,status:");

    // An existing table keeps the columns it was made with.
    raw.exec("drop table DBTransferAudioList");
    raw.exec("create table DBTransferAudioList(idStr,path)");
    EXPECT_TRUE(store.createTableWithtableName<QXVoiceCommandItem>(kCustomTable));
    EXPECT_TRUE(store.createTableWithtableName<QXTransferAudioModel>(kTransferTable));
    EXPECT_EQ(raw.value(columns.arg(kTransferTable)), "idStr:,path:");
}

TEST_F(SqliteStoreTest, InsertWritesSetValuesAsTextAndDeletesByCommandWord)
{
    ASSERT_TRUE(store.createTableWithtableName<QXVoiceCommandItem>(kCustomTable));
    const QXVoiceCommandItem quoted = voiceItem("text", "it's");
    Reply insert;
    store.insertDataBaseWithtableName(kCustomTable, quoted, insert.completion());
    EXPECT_EQ(insert.calls, 1);
    EXPECT_TRUE(insert.ok);
    EXPECT_TRUE(insert.error.isEmpty());
    store.insertDataBaseWithtableName(kCustomTable, voiceItem("text", "its"), nullptr);

    RawDatabase raw(databasePath());
    EXPECT_EQ(raw.rows("select typeof(cmdType), customCmd, typeof(customName), typeof(cmdWord), typeIndex, "
                       "typeof(typeIndex) from DBCustomizeCmdList where rowid = 1"),
              QList<QStringList>({{"text", "it's", "null", "null", "4", "text"}}));

    const auto items = store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0], quoted);
    EXPECT_EQ(items[0].typeIndex(), 4);
    EXPECT_FALSE(items[0].customName.has_value());

    Reply removeQuoted;
    store.delectDataBaseWithtableName(kCustomTable, "customCmd", "it's", removeQuoted.completion());
    EXPECT_EQ(removeQuoted.calls, 1);
    EXPECT_TRUE(removeQuoted.ok);
    Reply removeNobody;
    store.delectDataBaseWithtableName(kCustomTable, "customCmd", "nobody", removeNobody.completion());
    EXPECT_TRUE(removeNobody.ok);
    const auto left = store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable);
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].customCmd, "its");

    Reply clear;
    store.delectAllDataBaseWithtableName(kCustomTable, clear.completion());
    EXPECT_TRUE(clear.ok);
    EXPECT_TRUE(store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable).isEmpty());
}

TEST_F(SqliteStoreTest, AwkwardTextsAreStoredUnchanged)
{
    ASSERT_TRUE(store.createTableWithtableName<QXVoiceCommandItem>(kCustomTable));
    const struct {
        const char *what;
        QString text;
    } cases[] = {
        {"single and double quotes", QString::fromUtf8("say 'hi' and \"bye\"")},
        {"statement-like text", QStringLiteral("x'); drop table DBCustomizeCmdList; --")},
        {"Chinese", QString::fromUtf8("打开微信")},
        {"empty but set", QString(u""_qs)},
        {"embedded NUL", QString::fromUtf16(u"a\0b", 3)},
        {"outside the BMP", QString::fromUtf8("\xF0\x9F\x8E\xA4 mic")},
        {"percent and question marks", QStringLiteral("%s ?1 :a @b")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QXVoiceCommandItem item = voiceItem("website", c.text, c.text);
        Reply insert;
        store.insertDataBaseWithtableName(kCustomTable, item, insert.completion());
        ASSERT_TRUE(insert.ok) << insert.error.toStdString();
        const auto items = store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable);
        ASSERT_EQ(items.size(), 1);
        EXPECT_EQ(items[0], item);
        ASSERT_TRUE(items[0].customName.has_value());
        EXPECT_EQ(items[0].customName->size(), c.text.size());

        // Deleting by the same text finds exactly this row.
        Reply remove;
        store.delectDataBaseWithtableName(kCustomTable, "customCmd", c.text, remove.completion());
        EXPECT_TRUE(remove.ok);
        EXPECT_TRUE(store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable).isEmpty());
    }
}

TEST_F(SqliteStoreTest, TypeIndexFollowsCommandType)
{
    const struct {
        std::optional<QString> cmdType;
        qint64 index;
    } names[] = {{"file", 0},   {"folder", 1}, {"website", 2},  {"shortcuts", 3}, {"text", 4},
                 {"phrase", 5}, {"File", 0},   {"website ", 0}, {"", 0},          {std::nullopt, 0}};
    for (const auto &n : names) {
        QXVoiceCommandItem item;
        item.cmdType = n.cmdType;
        EXPECT_EQ(item.typeIndex(), n.index) << (n.cmdType ? n.cmdType->toStdString() : "unset");
    }
    const struct {
        qint64 index;
        const char *cmdType;
        qint64 readBack;
    } setters[] = {{3, "shortcuts", 3}, {0, "file", 0}, {5, "phrase", 5}, {6, "", 0}, {-1, "", 0}};
    for (const auto &s : setters) {
        QXVoiceCommandItem item;
        item.setTypeIndex(s.index);
        EXPECT_EQ(item.cmdType, QString::fromLatin1(s.cmdType)) << s.index;
        EXPECT_EQ(item.typeIndex(), s.readBack) << s.index;
    }
}

TEST_F(SqliteStoreTest, ReadingBackKeepsTheStoredCommandType)
{
    // Rows as another version may have written them: the typeIndex column is stale or
    // describes a type this version does not know. The stored cmdType decides.
    ASSERT_TRUE(store.createTableWithtableName<QXVoiceCommandItem>(kCustomTable));
    {
        RawDatabase raw(databasePath());
        raw.exec("insert into DBCustomizeCmdList(cmdType,customCmd,typeIndex) values('abc','w','0')");
        raw.exec("insert into DBCustomizeCmdList(cmdType,customCmd,typeIndex) values('phrase','[\"a\"]','0')");
        raw.exec("insert into DBCustomizeCmdList(cmdType,customCmd,typeIndex) values('','e','3')");
    }
    store.insertDataBaseWithtableName(kCustomTable, voiceItem("app", "new"), nullptr);
    const auto items = store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable);
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0].cmdType, "abc");
    EXPECT_EQ(items[0].typeIndex(), 0);
    EXPECT_EQ(items[1].cmdType, "phrase");
    EXPECT_EQ(items[1].typeIndex(), 5);
    EXPECT_EQ(items[2].cmdType, "");
    EXPECT_EQ(items[3].cmdType, "app");
}

TEST_F(SqliteStoreTest, TransferJobIsUpdatedByItsKey)
{
    ASSERT_TRUE(store.createTableWithtableName<QXTransferAudioModel>(kTransferTable));
    const qint64 before = QDateTime::currentSecsSinceEpoch();
    QXTransferAudioModel fresh;
    const qint64 created = fresh.idStr->toLongLong();
    EXPECT_GE(created, before);
    EXPECT_LE(created, QDateTime::currentSecsSinceEpoch());

    QXTransferAudioModel job;
    job.idStr = "1796634307";
    job.path = "/d/a.txt";
    store.insertDataBaseWithtableName(kTransferTable, job, nullptr);
    store.insertDataBaseWithtableName(kTransferTable, fresh, nullptr);

    job.result = "ok";
    job.status = 2;
    Reply update;
    store.updataTableWithtableName(kTransferTable, "idStr", job, update.completion());
    EXPECT_EQ(update.calls, 1);
    EXPECT_TRUE(update.ok) << update.error.toStdString();

    RawDatabase raw(databasePath());
    EXPECT_EQ(raw.rows("select idStr, path, typeof(updateTime), result, status, typeof(status) "
                       "from DBTransferAudioList where rowid = 1"),
              QList<QStringList>({{"1796634307", "/d/a.txt", "null", "ok", "2", "text"}}));

    const auto jobs = store.selectAllDataBaseWithtableName<QXTransferAudioModel>(kTransferTable);
    ASSERT_EQ(jobs.size(), 2);
    EXPECT_EQ(jobs[0].idStr, "1796634307"); // not the time of the read
    EXPECT_EQ(jobs[0].status, 2);
    EXPECT_FALSE(jobs[0].updateTime.has_value());
    EXPECT_EQ(jobs[1].status, 0); // the other job is untouched
    EXPECT_EQ(jobs[1].result, std::nullopt);

    // An update that cannot name its row is a failure, not a silent no-op.
    Reply noColumn;
    store.updataTableWithtableName(kTransferTable, "nope", job, noColumn.completion());
    EXPECT_EQ(noColumn.calls, 1);
    EXPECT_FALSE(noColumn.ok);
    EXPECT_FALSE(noColumn.error.isEmpty());
    QXTransferAudioModel keyless = job;
    keyless.idStr.reset();
    Reply noKey;
    store.updataTableWithtableName(kTransferTable, "idStr", keyless, noKey.completion());
    EXPECT_FALSE(noKey.ok);
    EXPECT_FALSE(noKey.error.isEmpty());
}

TEST_F(SqliteStoreTest, ForeignColumnsAndOddValuesReadWithoutHarm)
{
    {
        RawDatabase raw(databasePath());
        raw.exec("create table DBTransferAudioList(idStr,path,updateTime,result,status,extra)");
        raw.exec("insert into DBTransferAudioList values('1', null, null, null, null, 'x')");
        raw.exec("insert into DBTransferAudioList values(null, 'p', 't', 'r', '12abc', null)");
        raw.exec("insert into DBTransferAudioList values('3', 'p', 't', 'r', ' -5', 7)");
        raw.exec("insert into DBTransferAudioList values('4', 'p', 't', 'r', 'abc', x'00ff')");
        raw.exec("insert into DBTransferAudioList values('5', 'p', 't', 'r', '99999999999999999999', 1.5)");
        raw.exec("insert into DBTransferAudioList values('6', 'p', 't', 'r', 42, 1.5)");
    }
    const auto jobs = store.selectAllDataBaseWithtableName<QXTransferAudioModel>(kTransferTable);
    ASSERT_EQ(jobs.size(), 6);
    EXPECT_EQ(jobs[0].status, 0);
    EXPECT_FALSE(jobs[0].path.has_value());
    EXPECT_FALSE(jobs[1].idStr.has_value()); // a NULL key reads as unset, not as the time of the read
    EXPECT_EQ(jobs[1].status, 12);
    EXPECT_EQ(jobs[2].status, -5);
    EXPECT_EQ(jobs[3].status, 0);
    EXPECT_EQ(jobs[4].status, std::numeric_limits<qint64>::max());
    EXPECT_EQ(jobs[5].status, 42);

    // The dictionary form shows every non-NULL column as text.
    const auto records = store.selectAllDataBaseWithtableName(kTransferTable);
    ASSERT_EQ(records.size(), 6);
    EXPECT_EQ(records[0], (WQSSqliteOperation::Record{{"idStr", "1"}, {"extra", "x"}}));
    EXPECT_EQ(records[5].value("status"), "42");
}

TEST_F(SqliteStoreTest, EmptyAndMissingTablesGiveEmptyLists)
{
    ASSERT_TRUE(store.createTableWithtableName<QXVoiceCommandItem>(kCustomTable));
    QString error = "stale";
    EXPECT_TRUE(store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable, &error).isEmpty());
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(store.selectAllDataBaseWithtableName<QXVoiceCommandItem>("DBCommonCmdList", &error).isEmpty());
    EXPECT_TRUE(error.contains("no such table")) << error.toStdString();
    EXPECT_TRUE(store.selectAllDataBaseWithtableName("DBCommonCmdList").isEmpty());

    EXPECT_TRUE(store.delectTableWithtableName(kCustomTable));
    EXPECT_FALSE(store.delectTableWithtableName(kCustomTable));
    EXPECT_FALSE(store.cleanTableWithtableName(kCustomTable));
}

TEST_F(SqliteStoreTest, BadNamesAreRefusedBeforeReachingTheDatabase)
{
    ASSERT_TRUE(store.createTableWithtableName<QXVoiceCommandItem>(kCustomTable));
    store.insertDataBaseWithtableName(kCustomTable, voiceItem("text", "keep"), nullptr);
    const QString badNames[] = {"",
                                "1abc",
                                "a b",
                                "DBCustomizeCmdList;drop table x",
                                "名字",
                                "a-b",
                                "t\"",
                                "DBCustomizeCmdList--",
                                QString::fromUtf16(u"t\0", 2)};
    for (const QString &bad : badNames) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_FALSE(store.createTableWithtableName<QXVoiceCommandItem>(bad));
        Reply insert, removeAll, removeBy, removeByColumn, update, addColumn, removeParams;
        store.insertDataBaseWithtableName(bad, voiceItem("text", "x"), insert.completion());
        store.delectAllDataBaseWithtableName(bad, removeAll.completion());
        store.delectDataBaseWithtableName(bad, "customCmd", "keep", removeBy.completion());
        store.delectDataBaseWithtableName(kCustomTable, bad, "keep", removeByColumn.completion());
        store.updataTableWithtableName(kCustomTable, bad, voiceItem("text", "x"), update.completion());
        store.addNewPropertyWithtableName(kCustomTable, bad, addColumn.completion());
        store.delectDataBaseWithtableName(kCustomTable, {{bad, "keep"}}, 0, removeParams.completion());
        for (const Reply *r : {&insert, &removeAll, &removeBy, &removeByColumn, &update, &addColumn, &removeParams}) {
            EXPECT_EQ(r->calls, 1);
            EXPECT_FALSE(r->ok);
            EXPECT_TRUE(r->error.startsWith("invalid")) << r->error.toStdString();
        }
        QString error;
        EXPECT_TRUE(store.selectAllDataBaseWithtableName(bad, &error).isEmpty());
        EXPECT_TRUE(error.startsWith("invalid"));
        EXPECT_FALSE(store.delectTableWithtableName(bad));
        EXPECT_FALSE(store.cleanTableWithtableName(bad));
    }
    EXPECT_EQ(store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable).size(), 1);
}

TEST_F(SqliteStoreTest, ConditionsByParameterAndAddedColumns)
{
    ASSERT_TRUE(store.createTableWithtableName<QXVoiceCommandItem>(kCustomTable));
    for (const char *word : {"a", "b", "c"})
        store.insertDataBaseWithtableName(kCustomTable, voiceItem("text", word, QString("n-") + word), nullptr);

    const auto both =
        store.selectAllDataBaseWithtableName(kCustomTable, {{"customCmd", "a"}, {"customName", "n-a"}}, 0);
    EXPECT_EQ(both.size(), 1);
    EXPECT_TRUE(
        store.selectAllDataBaseWithtableName(kCustomTable, {{"customCmd", "a"}, {"customName", "n-b"}}, 0).isEmpty());
    EXPECT_EQ(store.selectAllDataBaseWithtableName(kCustomTable, {{"customCmd", "a"}, {"customName", "n-b"}}, 1).size(),
              2);

    // A condition that cannot be built must not turn into "every row".
    QString error;
    EXPECT_TRUE(store.selectAllDataBaseWithtableName(kCustomTable, {{"customCmd", "a"}}, 2, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    Reply wrongType, noCondition;
    store.delectDataBaseWithtableName(kCustomTable, {{"customCmd", "a"}}, 2, wrongType.completion());
    store.delectDataBaseWithtableName(kCustomTable, QMap<QString, QString>(), 0, noCondition.completion());
    EXPECT_FALSE(wrongType.ok);
    EXPECT_FALSE(noCondition.ok);
    EXPECT_EQ(store.selectAllDataBaseWithtableName(kCustomTable).size(), 3);

    Reply removeEither;
    store.delectDataBaseWithtableName(kCustomTable, {{"customCmd", "a"}, {"customName", "n-b"}}, 1,
                                      removeEither.completion());
    EXPECT_TRUE(removeEither.ok);
    EXPECT_EQ(store.selectAllDataBaseWithtableName(kCustomTable).size(), 1);

    // A column the row type does not know is ignored when reading models.
    Reply added;
    store.addNewPropertyWithtableName(kCustomTable, "sortOrder", added.completion());
    EXPECT_TRUE(added.ok) << added.error.toStdString();
    store.insertDataBaseWithtableName(kCustomTable, voiceItem("folder", "d"), nullptr);
    const auto items = store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[1], voiceItem("folder", "d"));
}

TEST(SqliteStoreFailures, UnopenableDatabaseFailsEveryOperationWithAMessage)
{
    TempDataRoot root;
    QStringList logged;
    setWriteLogHandler([&](const QString &line) { logged.append(line); });
    // The database's folder is a plain file: nothing can be created under it.
    QFile blocker(root.file("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    WQSSqliteOperation store(root.file("blocked/QXSqliteDataBase.sqlite"));

    EXPECT_FALSE(store.createTableWithtableName<QXVoiceCommandItem>(kCustomTable));
    Reply insert, update, remove;
    store.insertDataBaseWithtableName(kCustomTable, voiceItem("text", "x"), insert.completion());
    store.updataTableWithtableName(kCustomTable, "customCmd", voiceItem("text", "x"), update.completion());
    store.delectDataBaseWithtableName(kCustomTable, "customCmd", "x", remove.completion());
    for (const Reply *r : {&insert, &update, &remove}) {
        EXPECT_EQ(r->calls, 1);
        EXPECT_FALSE(r->ok);
        EXPECT_TRUE(r->error.contains("cannot open")) << r->error.toStdString();
    }
    BatchReply<QXVoiceCommandItem> batch;
    const QList<QXVoiceCommandItem> items = {voiceItem("text", "1"), voiceItem("text", "2")};
    store.insertsDataBaseWithtableName(kCustomTable, items, batch.completion());
    EXPECT_EQ(batch.calls, 1);
    EXPECT_FALSE(batch.ok);
    EXPECT_EQ(batch.failed, items);
    QString error;
    EXPECT_TRUE(store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(logged.size(), 1);
    setWriteLogHandler(nullptr);
}

QStringList g_warnings;
void recordWarning(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg)
        g_warnings.append(message);
}

// A file that is no database, or one cut short, is kept beside byte for byte and a fresh
// database takes its place; the log names both files and the reason.
TEST(SqliteStoreFailures, UnreadableFileIsKeptAsideUnchangedAndAFreshOneTakesItsPlace)
{
    QByteArray cutShort;
    {
        TempDataRoot scratch;
        WQSSqliteOperation source;
        ASSERT_TRUE(source.createTableWithtableName<QXVoiceCommandItem>(kCustomTable));
        QFile f(scratch.file("QXSqliteDataBase.sqlite"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        cutShort = f.readAll().left(f.size() / 2);
    }
    for (const auto &[bytes, reason] : {std::pair{QByteArray(4096, 'g'), "not a database"}, {cutShort, "malformed"}}) {
        TempDataRoot root;
        const QString path = root.file("QXSqliteDataBase.sqlite");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        g_warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(recordWarning);
        WQSSqliteOperation store;
        EXPECT_TRUE(store.createTableWithtableName<QXVoiceCommandItem>(kCustomTable));
        qInstallMessageHandler(previous);
        Reply insert;
        store.insertDataBaseWithtableName(kCustomTable, voiceItem("text", "x"), insert.completion());
        EXPECT_TRUE(insert.ok) << insert.error.toStdString();

        const QStringList kept = QDir(root.path()).entryList({"QXSqliteDataBase.sqlite.unreadable-*"});
        ASSERT_EQ(kept.size(), 1);
        QFile keptFile(root.file(kept.first()));
        ASSERT_TRUE(keptFile.open(QIODevice::ReadOnly));
        EXPECT_TRUE(keptFile.readAll() == bytes);
        ASSERT_EQ(g_warnings.size(), 1);
        for (const QString &part : {path, kept.first(), QString::fromLatin1(reason)})
            EXPECT_TRUE(g_warnings[0].contains(part)) << g_warnings[0].toStdString();
    }
}

TEST(SqliteStoreShared, SharedStoreLivesInTheDataRoot)
{
    TempDataRoot root;
    WQSSqliteOperation store; // the application's file, as the composition root makes it
    ScopedInstall<WQSSqliteOperation> installed(&store);
    WQSSqliteOperation &shared = WQSSqliteOperation::shareOperation();
    EXPECT_EQ(&shared, &store);
    ASSERT_TRUE(shared.createTableWithtableName<QXVoiceCommandItem>("DBCommonCmdList"));
    EXPECT_TRUE(QFile::exists(root.file("QXSqliteDataBase.sqlite")));
}

// The commands and history are the owner's alone whatever the session's umask lets a
// new file have: the database and the journal SQLite gives the database's mode.
TEST(AuditSqliteModes, ANewDatabaseUnderUmask022IsTheOwnersAlone)
{
    TempDataRoot root;
    const mode_t before = ::umask(022);
    {
        WQSSqliteOperation store(root.file("fresh.sqlite"));
        ASSERT_TRUE(store.createTableWithtableName<QXVoiceCommandItem>(kCustomTable));
        Reply insert;
        store.insertDataBaseWithtableName(kCustomTable, voiceItem("text", "x"), insert.completion());
        EXPECT_TRUE(insert.ok);
    }
    ::umask(before);
    const QStringList files = QDir(root.path()).entryList({"fresh.sqlite*"}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString &name : files) {
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(root.file(name)).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u) << name.toStdString();
    }
}

TEST(SqliteIntegerText, LeadingNumberOfTheText)
{
    const struct {
        std::optional<QString> text;
        qint64 value;
    } rows[] = {{"4", 4},
                {"-12", -12},
                {"+7", 7},
                {"  3x", 3},
                {"x3", 0},
                {"", 0},
                {std::nullopt, 0},
                {"9223372036854775807", std::numeric_limits<qint64>::max()},
                {"9223372036854775808", std::numeric_limits<qint64>::max()},
                {"-9223372036854775808", std::numeric_limits<qint64>::min()},
                {"-99999999999999999999", std::numeric_limits<qint64>::min()},
                {"1.9", 1}};
    for (const auto &r : rows)
        EXPECT_EQ(sqliteIntegerFromText(r.text), r.value) << (r.text ? r.text->toStdString() : "NULL");
}

} // namespace
