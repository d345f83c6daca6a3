// Voice commands: the lists kept in step with the server and the store, and the
// runner a spoken text reaches.
#include "VoiceCommandsFixture.h"

#include <QFile>

TEST_F(Vox5Test, SpokenTextRunsTheStoredCommandItNames)
{
    QTemporaryDir files;
    const QString calculator = files.filePath("计算器.desktop");
    ASSERT_TRUE(QFile(calculator).open(QIODevice::WriteOnly));
    ASSERT_TRUE(records.record("file://" + calculator));
    const auto fetch = [&](const char *path, const QByteArray &answer) {
        replies[path] = jsonReply(answer);
        Outcome o;
        path == QByteArray("/api/commonCmd") ? model.requestNetCommonCmdList()
                                             : model.requestNetCustomizeCmdList(recorder(o));
        settle();
        return o;
    };
    const QByteArray hotWord = R"({"customCmd":"[\"热词\"]","cmdType":"phrase"})";
    fetch("/api/commonCmd", R"({"data":[{"cmdWord":"计算器","cmdExecute":"c.example"},)"
                            R"({"cmdWord":"百度","cmdExecute":"www.baidu.com","cmdType":"website"}]})");
    Outcome fetched = fetch("/api/deviceCmd", R"({"data":[],"cmds":[{"customCmd":"计算器","customName":"file://)"
                                                  + calculator.toUtf8() + R"(","cmdType":"file"},)" + hotWord + "]}");
    ASSERT_TRUE(fetched.ok);
    EXPECT_EQ(words(fetched.list), QStringList{"计算器"}) << "hot words are not custom commands";
    EXPECT_EQ(rows(QXCommandViewModel::kCustomTable), (QStringList{"计算器", "[\"热词\"]"}));
    EXPECT_EQ(hotWords.clears, 1);

    EXPECT_TRUE(runner.runSpokenCommand("打开计算器")) << "the custom command wins over the common one";
    EXPECT_TRUE(runner.runSpokenCommand("百度"));
    EXPECT_EQ(workspace.opened, (std::vector<QUrl>{QUrl::fromLocalFile(calculator), QUrl("http://www.baidu.com")}));

    // A target the user never picked on this computer, or a desktop that opens nothing:
    // failure, so the caller searches the web for the word.
    QString search;
    prefs.remove(TargetRecords::storeKey("file://" + calculator));
    EXPECT_FALSE(runner.runSpokenCommand("打开计算器", &search));
    ASSERT_TRUE(records.record("file://" + calculator));
    workspace.fails = true;
    EXPECT_FALSE(runner.runSpokenCommand("百度", &search));
    workspace.fails = false;
    EXPECT_EQ(workspace.opened.size(), 3u) << "the failed open was tried, the unpicked one not";
    // A target deleted since: failure too.
    QFile::remove(calculator);
    EXPECT_FALSE(runner.runSpokenCommand("打开计算器。", &search));
    EXPECT_EQ(search, "计算器");
    EXPECT_FALSE(runner.runSpokenCommand("今天天气", &search));
    EXPECT_EQ(search, "今天天气");

    // Edited elsewhere, the count unchanged: the new target is stored and runs.
    fetch("/api/deviceCmd", R"({"data":[{"customCmd":"计算器","customName":"calc.example"},)" + hotWord + "]}");
    EXPECT_TRUE(runner.runSpokenCommand("打开计算器"));
    EXPECT_EQ(workspace.opened.back(), QUrl("http://calc.example"));
    // The common table follows the server's count only; memory takes the new list.
    fetch("/api/commonCmd", R"({"data":[{"cmdWord":"a"},{"cmdWord":"b"}]})");
    EXPECT_EQ(words(model.commonCmdListArray()), (QStringList{"a", "b"}));
    EXPECT_EQ(rows(QXCommandViewModel::kCommonTable), (QStringList{"计算器", "百度"}));
    fetch("/api/commonCmd", R"({"data":[{"cmdWord":"a"}]})");
    EXPECT_EQ(rows(QXCommandViewModel::kCommonTable), QStringList{"a"});
}

TEST_F(Vox5Test, CreateAndDeleteSendTheClientFieldsAndStoreTheAnswer)
{
    replies["/api/saveDeviceCmd"] = jsonReply(R"({"rc":0,"data":[{"customCmd":"音乐","cmdType":"folder"},)"
                                              R"({"customCmd":"[\"a\"]","cmdType":"phrase"}]})");
    replies["/api/deleteDeviceCmd"] = jsonReply(R"({"rc":0})");
    auto music = std::make_shared<QXVoiceCommandItem>(QXVoiceCommandItem{"folder", "音乐", "/home/u/Music", {}, {}});
    Outcome created;
    model.requestCreateCustomizeCmd(music, recorder(created));
    settle();
    ASSERT_TRUE(created.ok);
    EXPECT_EQ(words(created.list), (QStringList{"音乐", "[\"a\"]"}));
    EXPECT_EQ(rows(QXCommandViewModel::kCustomTable), words(created.list));
    for (const char *field : {"vid=12625", "pid=8875", "sn=SN1", "channelName=QX", "macAddr=A1:B2:C3:D4:E5:F6",
                              "clientversion=1.0.3", "customName=/home/u/Music", "customCmd=音乐", "cmdType=folder"}) {
        const QStringList kv = QString(field).split('=');
        EXPECT_EQ(server.lastRequest().queryValue(kv[0]), kv[1]) << field;
    }

    // The hot-word entry leaves the hot-word list; the custom list keeps its very record.
    const QXVoiceCommandPtr kept = model.customizeCmdListArray().at(0);
    Outcome deleted;
    model.requestDeleteCustomizeCmd(created.list[1], recorder(deleted));
    settle();
    EXPECT_TRUE(deleted.ok);
    EXPECT_EQ(server.lastRequest().queryValue("customCmd"), "[\"a\"]");
    EXPECT_EQ(hotWords.removed, QXVoiceCommandList{created.list[1]});
    EXPECT_EQ(model.customizeCmdListArray(), QXVoiceCommandList{kept});
    EXPECT_EQ(rows(QXCommandViewModel::kCustomTable), QStringList{"音乐"});
}

TEST_F(Vox5Test, AnswersWithoutAListChangeNothing)
{
    const struct {
        const char *what;
        HttpScriptedReply reply;
        bool ok;
        QStringList stored; // the custom table afterwards
    } table[] = {
        {"HTTP error", HttpScriptedReply::html(500, "down"), false, {"keep"}},
        {"no lists", jsonReply(R"({"rc":0})"), false, {"keep"}},
        {"lists not arrays", jsonReply(R"({"rc":0,"data":"x","cmds":{"a":1}})"), false, {"keep"}},
        {"empty list", jsonReply(R"({"rc":0,"data":[]})"), true, {}},
        {"ill-typed fields",
         jsonReply(R"({"data":[7,{"customCmd":12,"customName":null,"cmdType":[]}]})"),
         true,
         {"12"}},
    };
    QXVoiceCommandItem keep;
    keep.customCmd = "keep";
    for (const auto &row : table) {
        store.delectAllDataBaseWithtableName(QXCommandViewModel::kCustomTable, {});
        store.insertDataBaseWithtableName(QXCommandViewModel::kCustomTable, keep, {});
        replies["/api/deviceCmd"] = row.reply;
        Outcome o;
        model.requestNetCustomizeCmdList(recorder(o));
        settle();
        EXPECT_EQ(o.calls, 1) << row.what;
        EXPECT_EQ(o.ok, row.ok) << row.what;
        EXPECT_EQ(rows(QXCommandViewModel::kCustomTable), row.stored) << row.what;
    }
    const QXVoiceCommandPtr read = model.customizeCmdListArray().value(0);
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->customName || read->cmdType) << "ill-typed fields stay unset";

    // A create answered without a list must not wipe the store; no record: nothing sent.
    replies["/api/saveDeviceCmd"] = jsonReply(R"({"rc":0})");
    Outcome o;
    model.requestCreateCustomizeCmd(read, recorder(o));
    settle();
    model.requestCreateCustomizeCmd(nullptr, recorder(o));
    model.requestDeleteCustomizeCmd(nullptr, recorder(o));
    EXPECT_EQ(o.calls, 3);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(rows(QXCommandViewModel::kCustomTable), QStringList{"12"});
    EXPECT_EQ(server.requestCount(), int(std::size(table)) + 1);
}

TEST_F(Vox5Test, RunnerTargets)
{
    QTemporaryDir home;
    const QString music = home.filePath("My Music");
    ASSERT_TRUE(QDir().mkpath(music));
    ASSERT_TRUE(records.record(music));
    ASSERT_TRUE(QFile(home.filePath("gone")).open(QIODevice::WriteOnly));
    ASSERT_TRUE(records.record("file://" + home.filePath("gone")));
    ASSERT_TRUE(QFile::remove(home.filePath("gone")));
    EXPECT_FALSE(records.record("Music")) << "relative";
    const QString paste = "keys 9/1048576"; // the paste chord as stored (Command+V)
    const struct {
        QString target, type;
        QString effect; // what reached the desktop; empty: nothing, and false
    } table[] = {
        {"", "website", ""},
        {"example.com", "website", "open http://example.com"},
        {"https://example.com/a b", "", "open https://example.com/a%20b"},
        {"HTTP://X.COM", "website", "open http://x.com"},
        {"https://x.y/a%20b#top", "website", "open https://x.y/a%20b#top"},
        {"x.com", "app", "open http://x.com"},
        {music, "folder", "open " + QUrl::fromLocalFile(music).toString(QUrl::FullyEncoded)},
        {"/home/u/Music", "folder", ""}, // never picked
        {"Music", "folder", ""},         // relative
        {"file://" + home.filePath("gone"), "file", ""},
        {R"({"keyCode":9,"modifierFlagsString":"⌘"})", "shortcuts", paste},
        {"{keyCode", "shortcuts", ""},
        {"你好", "text", "paste 你好 " + paste},
    };
    for (const auto &row : table) {
        workspace.opened.clear();
        keys.strokes.clear();
        clipboard.contents.reset();
        EXPECT_EQ(runner.openFileWithCmdPath(row.target, row.type), !row.effect.isEmpty()) << row.target.toStdString();
        QStringList effect;
        for (const QUrl &url : workspace.opened)
            effect << "open " + url.toString(QUrl::FullyEncoded);
        if (clipboard.contents)
            effect << "paste " + clipboard.text();
        for (const PostedStroke &s : keys.strokes)
            effect << QStringLiteral("keys %1/%2").arg(s.macKeyCode).arg(s.macFlags);
        EXPECT_EQ(effect.join(' '), row.effect) << row.target.toStdString();
    }
}
