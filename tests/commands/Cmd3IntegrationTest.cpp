// The dialog over the real command model, a local server and a temporary command
// store: what the server sees, what the store keeps, and the target record.
#include "AddCommandView.h"
#include "controls/QXPopUpButton.h"
#include "controls/QXTextField.h"
#include "voice_commands/VoiceCommandsFixture.h"

#include <QAction>

class Cmd3DialogIntegration : public Vox5Test {};

TEST_F(Cmd3DialogIntegration, AFolderCommandReachesServerStoreAndRecords)
{
    const QString folder = dir.filePath("Music");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString target = "file://" + folder;
    replies["/api/saveDeviceCmd"] = jsonReply(
        QJsonDocument(QJsonObject{{"rc", 0},
                                  {"data", QJsonArray{QJsonObject{
                                               {"customCmd", "音乐"}, {"cmdType", "folder"}, {"customName", target}}}}})
            .toJson());
    QWidget host;
    host.resize(900, 600);
    QStringList alerts;
    QList<bool> finishes;
    auto *view = new AddCommandView(
        {&model, &records, nullptr, nullptr, [&](const QString &m, const QString &d) { alerts << m + "/" + d; }},
        &host);
    view->setAddOrModifyFinishBlock([&](bool ok) { finishes << ok; });
    view->typeBtn()->allMenuItem().at(1)->trigger();
    view->wordTextField()->setText("音乐");
    view->pathTextField()->setText(target);
    view->createBtnClicked();
    settle();

    EXPECT_EQ(alerts, QStringList{});
    EXPECT_EQ(finishes, QList<bool>{true});
    const HttpRequestRecord sent = server.lastRequest();
    EXPECT_EQ(sent.path, "/api/saveDeviceCmd");
    EXPECT_EQ(sent.queryValue("customCmd"), "音乐");
    EXPECT_EQ(sent.queryValue("cmdType"), "folder");
    EXPECT_EQ(sent.queryValue("sn"), "SN1"); // with the client's fields, as every request
    EXPECT_EQ(sent.queryValue("customName"), target);
    EXPECT_EQ(rows(QXCommandViewModel::kCustomTable), QStringList{"音乐"});
    EXPECT_EQ(records.resolve(target), folder);
}
