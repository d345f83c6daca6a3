// The hot-word model over a real command table, kept in step by the command model.
#include "commands/QXCommandViewModel.h"
#include "commands/QXHotWordViewModel.h"
#include "sqlite/WQSSqliteOperation.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Cmd1HotWords : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(store.createTableWithtableName<QXVoiceCommandItem>(kTable)); }
    void insert(const char *type, const QString &words)
    {
        store.insertDataBaseWithtableName(kTable, QXVoiceCommandItem{type, words, {}, {}, {}}, nullptr);
    }
    const QString kTable = QXCommandViewModel::kCustomTable;
    QTemporaryDir dir;
    WQSSqliteOperation store{dir.filePath("commands.sqlite")};
    QXHotWordViewModel model{store};
};

} // namespace

TEST_F(Cmd1HotWords, TextFollowsTheTableOncePerChange)
{
    EXPECT_EQ(model.getLocalHotWordListString(), "");
    insert("website", "W");
    insert("phrase", R"(["a"])");
    insert("phrase", R"(["b","c"])");
    EXPECT_EQ(model.getLocalHotWordListString(), "") << "loaded: the table is read again only after a change";

    model.clearHotWords();
    EXPECT_EQ(model.getLocalHotWordListString(), R"(["a"],["b","c"])");
    insert("phrase", "C");
    EXPECT_EQ(model.hotWordListArray().size(), 2) << "a filled list is not read again";
    model.clearHotWords();
    EXPECT_EQ(model.getLocalHotWordListString(), R"(["a"],["b","c"],C)");

    // Removed by the command model: that entry and its equals.
    const QXVoiceCommandPtr first = model.hotWordListArray().front();
    model.removeHotWord(std::make_shared<QXVoiceCommandItem>(*first));
    EXPECT_EQ(model.getLocalHotWordListString(), R"(["b","c"],C)");

    // A thousand entries: the text every frame carries is built once.
    QList<QXVoiceCommandItem> rows;
    for (int i = 0; i < 1000; ++i)
        rows << QXVoiceCommandItem{"phrase", QStringLiteral("[\"w%1\"]").arg(i), {}, {}, {}};
    store.insertsDataBaseWithtableName<QXVoiceCommandItem>(kTable, rows, nullptr);
    model.clearHotWords();
    const int builds = model.builds();
    for (int frame = 0; frame < 100; ++frame)
        EXPECT_TRUE(model.getLocalHotWordListString().endsWith(R"(["w999"])"));
    EXPECT_EQ(model.builds(), builds + 1);
}
