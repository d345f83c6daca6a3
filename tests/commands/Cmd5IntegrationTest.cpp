// The hot-word views over the real command and hot-word models, a local server and a
// temporary command store.
#include "AddHotWordView.h"
#include "HotWordView.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXTextField.h"
#include "services/IErrorAlert.h"
#include "voice_commands/VoiceCommandsFixture.h"

#include "commands/QXHotWordViewModel.h"

namespace {
struct Errors : IErrorAlert {
    QStringList shown;
    void showErrorMsg(const QString &message, const QString &detail) override { shown << message + "/" + detail; }
};
} // namespace

class Cmd5HotWordIntegration : public Vox5Test {
protected:
    void enter(int row, const QString &text)
    {
        AddHotWordCellView *cell = card.cell(row);
        cell->inputBeginBlock();
        cell->contentField()->setText(text);
        cell->inputEndBlock(text);
    }
    QString label(int row) { return list.cell(row)->contentLabel()->text(); }

    NotificationCenter center;
    Errors errors;
    QXHotWordViewModel hot{store};
    QXCommandViewModel commands{{client(), store, &hot}};
    AddHotWordView card{{commands, errors, center}};
    HotWordView list{{hot, commands, errors, center}};
};

TEST_F(Cmd5HotWordIntegration, ACreatedEntryReachesServerStoreListAndRecogniserText)
{
    replies["/api/saveDeviceCmd"] = jsonReply(R"({"rc":0,"data":[
        {"customCmd":"音乐","cmdType":"folder","customName":"file:///m"},
        {"customCmd":"[\"a\",\"b c\"]","cmdType":"phrase"}]})");
    enter(0, "a");
    enter(2, "b c");
    card.createBtnClicked();
    settle();
    const HttpRequestRecord sent = server.lastRequest();
    EXPECT_EQ(sent.path, "/api/saveDeviceCmd");
    EXPECT_EQ(sent.queryValue("customCmd"), R"(["a","b c"])");
    EXPECT_EQ(sent.queryValue("cmdType"), "phrase");
    EXPECT_EQ(hot.getLocalHotWordListString(), R"(["a","b c"])");
    EXPECT_EQ(label(0), R"(["a","b c"])");
    EXPECT_TRUE(errors.shown.isEmpty());
}

TEST_F(Cmd5HotWordIntegration, DeletingAnEntryThatAlsoNamesACommandTakesBothAway)
{
    replies["/api/deviceCmd"] = jsonReply(R"({"rc":0,"data":[
        {"customCmd":"[\"x\"]","cmdType":"website","customName":"https://q.example"},
        {"customCmd":"[\"x\"]","cmdType":"phrase"},
        {"customCmd":"[\"y\"]","cmdType":"phrase"}]})");
    replies["/api/deleteDeviceCmd"] = jsonReply(R"({"rc":0,"data":null})");
    commands.fetchCustomCommands({});
    settle();
    center.post(QString::fromLatin1(qx::notify::kUpdateHotWordListNotification));
    ASSERT_EQ(label(0), R"(["x"])");
    ASSERT_EQ(commands.customCommands().size(), 1);

    list.cell(0)->delBtn()->click();
    settle();
    EXPECT_EQ(server.lastRequest().queryValue("customCmd"), R"(["x"])");
    EXPECT_TRUE(commands.customCommands().isEmpty());
    EXPECT_EQ(label(0), R"(["y"])");
    EXPECT_EQ(rows(QXCommandViewModel::kCustomTable), QStringList{R"(["y"])"});
    EXPECT_TRUE(errors.shown.isEmpty());
}
