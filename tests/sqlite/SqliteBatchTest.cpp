#include "SqliteTestSupport.h"

#include <atomic>
#include <thread>

namespace {

class SqliteBatchTest : public StoreTest {
protected:
    void SetUp() override { ASSERT_TRUE(store.createTableWithtableName<QXVoiceCommandItem>(kCustomTable)); }

    QStringList storedWords()
    {
        QStringList words;
        for (const auto &item : store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable))
            words.append(item.customCmd.value_or("<unset>"));
        return words;
    }

    static QList<QXVoiceCommandItem> items(const QStringList &words)
    {
        QList<QXVoiceCommandItem> list;
        for (const QString &w : words)
            list.append(voiceItem("text", w));
        return list;
    }
};

TEST_F(SqliteBatchTest, InsertsEveryModelAndReportsOnce)
{
    BatchReply<QXVoiceCommandItem> reply;
    store.insertsDataBaseWithtableName(kCustomTable, items({"a", "b", "c"}), reply.completion());
    EXPECT_EQ(reply.calls, 1);
    EXPECT_TRUE(reply.ok);
    EXPECT_TRUE(reply.failed.isEmpty());
    EXPECT_TRUE(reply.error.isEmpty());
    EXPECT_EQ(storedWords(), QStringList({"a", "b", "c"}));

    BatchReply<QXVoiceCommandItem> empty;
    store.insertsDataBaseWithtableName(kCustomTable, QList<QXVoiceCommandItem>(), empty.completion());
    EXPECT_EQ(empty.calls, 1);
    EXPECT_TRUE(empty.ok);
}

TEST_F(SqliteBatchTest, FailureAtTheThirdModelKeepsTheFirstTwoAndReportsOnce)
{
    {
        RawDatabase raw(databasePath());
        raw.exec("create trigger refuse before insert on DBCustomizeCmdList when NEW.customCmd = 'bad' "
                 "begin select raise(abort, 'x'); end");
    }
    BatchReply<QXVoiceCommandItem> reply;
    const auto batch = items({"1", "2", "bad", "4", "5"});
    store.insertsDataBaseWithtableName(kCustomTable, batch, reply.completion());
    EXPECT_EQ(reply.calls, 1);
    EXPECT_FALSE(reply.ok);
    EXPECT_EQ(reply.failed, QList<QXVoiceCommandItem>({batch[2]}));
    EXPECT_EQ(reply.error, "x");
    EXPECT_EQ(storedWords(), QStringList({"1", "2"}));

    // The transaction is closed: another connection can write, and so can the store.
    RawDatabase other(databasePath());
    other.exec("insert into DBCustomizeCmdList(customCmd) values('other')");
    Reply single;
    store.insertDataBaseWithtableName(kCustomTable, voiceItem("text", "after"), single.completion());
    EXPECT_TRUE(single.ok) << single.error.toStdString();
    EXPECT_EQ(storedWords(), QStringList({"1", "2", "other", "after"}));
}

TEST_F(SqliteBatchTest, FailureThatEndsTheTransactionKeepsNothing)
{
    {
        RawDatabase raw(databasePath());
        raw.exec("create trigger refuse before insert on DBCustomizeCmdList when NEW.customCmd = 'bad' "
                 "begin select raise(rollback, 'rolled back'); end");
    }
    BatchReply<QXVoiceCommandItem> reply;
    const auto batch = items({"1", "2", "bad", "4"});
    store.insertsDataBaseWithtableName(kCustomTable, batch, reply.completion());
    EXPECT_EQ(reply.calls, 1);
    EXPECT_FALSE(reply.ok);
    EXPECT_EQ(reply.failed, batch);
    EXPECT_EQ(reply.error, "rolled back");
    EXPECT_TRUE(storedWords().isEmpty());
}

TEST_F(SqliteBatchTest, UpdateBatchStopsAtTheFailingModel)
{
    ASSERT_TRUE(store.createTableWithtableName<QXTransferAudioModel>(kTransferTable));
    QList<QXTransferAudioModel> jobs;
    for (int i = 1; i <= 4; ++i) {
        QXTransferAudioModel job;
        job.idStr = QString::number(i);
        jobs.append(job);
    }
    BatchReply<QXTransferAudioModel> inserted;
    store.insertsDataBaseWithtableName(kTransferTable, jobs, inserted.completion());
    ASSERT_TRUE(inserted.ok);
    {
        RawDatabase raw(databasePath());
        raw.exec("create trigger refuse before update on DBTransferAudioList when NEW.result = 'bad' "
                 "begin select raise(abort, 'no'); end");
    }
    const char *results[] = {"ok", "ok", "bad", "ok"};
    for (int i = 0; i < 4; ++i) {
        jobs[i].result = results[i];
        jobs[i].status = 2;
    }
    BatchReply<QXTransferAudioModel> reply;
    store.updataTableWithtableName(kTransferTable, "idStr", jobs, reply.completion());
    EXPECT_EQ(reply.calls, 1);
    EXPECT_FALSE(reply.ok);
    EXPECT_EQ(reply.failed, QList<QXTransferAudioModel>({jobs[2]}));
    EXPECT_EQ(reply.error, "no");
    const auto stored = store.selectAllDataBaseWithtableName<QXTransferAudioModel>(kTransferTable);
    ASSERT_EQ(stored.size(), 4);
    EXPECT_EQ(stored[0].status, 2);
    EXPECT_EQ(stored[1].status, 2);
    EXPECT_EQ(stored[2].status, 0);
    EXPECT_EQ(stored[3].status, 0);
}

TEST_F(SqliteBatchTest, CompletionMayUseTheStoreAgain)
{
    int seen = -1;
    store.insertsDataBaseWithtableName(
        kCustomTable, items({"a", "b"}),
        WQSSqliteOperation::BatchCompletion<QXVoiceCommandItem>(
            [&](bool, const QList<QXVoiceCommandItem> &, const QString &) { seen = int(storedWords().size()); }));
    EXPECT_EQ(seen, 2);
}

TEST_F(SqliteBatchTest, BatchesFromTwoThreadsDoNotInterleave)
{
    constexpr int kBatches = 15;
    constexpr int kRows = 40;
    std::atomic<int> completions{0};
    std::atomic<int> failures{0};
    auto worker = [&](QChar thread) {
        for (int b = 0; b < kBatches; ++b) {
            QList<QXVoiceCommandItem> batch;
            for (int r = 0; r < kRows; ++r)
                batch.append(voiceItem("text", QStringLiteral("%1-%2-%3").arg(thread).arg(b).arg(r)));
            store.insertsDataBaseWithtableName(kCustomTable, batch,
                                               WQSSqliteOperation::BatchCompletion<QXVoiceCommandItem>(
                                                   [&](bool ok, const QList<QXVoiceCommandItem> &, const QString &) {
                                                       ++completions;
                                                       failures += ok ? 0 : 1;
                                                   }));
        }
    };
    std::thread first(worker, u'A');
    std::thread second(worker, u'B');
    first.join();
    second.join();

    EXPECT_EQ(completions, 2 * kBatches);
    EXPECT_EQ(failures, 0);
    const QStringList words = storedWords();
    ASSERT_EQ(words.size(), 2 * kBatches * kRows);
    // Every batch sits in one run of consecutive rows, its models in order.
    for (qsizetype start = 0; start < words.size(); start += kRows) {
        const QString prefix = words[start].section(u'-', 0, 1);
        for (int r = 0; r < kRows; ++r)
            ASSERT_EQ(words[start + r], QStringLiteral("%1-%2").arg(prefix).arg(r)) << "row " << start + r;
    }
}

} // namespace
