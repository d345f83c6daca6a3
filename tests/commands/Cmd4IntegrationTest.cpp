// The voice-command list over the real command model, a local server and a temporary
// command store: device information brings the server's list onto the rows and into
// the store.
#include "CommandWordCellView.h"
#include "CommandWordView.h"
#include "FakeAddCommandDialogs.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "RecordingAlertPresenter.h"
#include "controls/QXLabel.h"
#include "services/IErrorAlert.h"
#include "voice_commands/VoiceCommandsFixture.h"

namespace {
struct NoErrors : IErrorAlert {
    QStringList shown;
    void showErrorMsg(const QString &message, const QString &detail) override { shown << message + "/" + detail; }
};
} // namespace

class Cmd4CommandListIntegration : public Vox5Test {};

TEST_F(Cmd4CommandListIntegration, DeviceInformationFetchesTheListOntoTheRowsAndIntoTheStore)
{
    NotificationCenter center;
    FakeAddCommandDialogs dialogs;
    RecordingAlertPresenter alerts;
    NoErrors errors;
    replies["/api/deviceCmd"] = jsonReply(R"({"rc":0,"data":[
        {"customCmd":"音乐","cmdType":"folder","customName":"file:///m"},
        {"customCmd":"官网","cmdType":"website","customName":"https://q.example"},
        {"customCmd":"[\"热\"]","cmdType":"phrase"}]})");
    CommandWordView view({model, dialogs, alerts, errors, center});
    view.resize(900, 560);
    settle();
    const int atConstruction = int(server.requests().size());
    EXPECT_EQ(atConstruction, 1);

    center.post(QString::fromLatin1(qx::notify::HadUSBInfoNotification));
    settle();
    ASSERT_EQ(server.requests().size(), atConstruction + 1);
    EXPECT_EQ(server.lastRequest().path, "/api/deviceCmd");
    EXPECT_EQ(server.lastRequest().queryValue("sn"), "SN1");
    const auto word = [&](int row) {
        return static_cast<CommandWordCellView *>(view.tableView()->cell(row))->wordLabel()->text();
    };
    EXPECT_EQ(word(0), "音乐");
    EXPECT_EQ(word(1), "官网");
    EXPECT_EQ(word(2), "") << "hot-word entries are not commands";
    EXPECT_EQ(rows(QXCommandViewModel::kCustomTable), QStringList({"音乐", "官网", "[\"热\"]"}));
    EXPECT_TRUE(errors.shown.isEmpty());
}
