// The add and edit command dialog in voice mode over the personalisation page's
// 900 x 600 view: a folder command being edited.
#include "CommandDialogHost.h"
#include "SceneWorld.h"

#include <QPalette>

#include "AddCommandView.h"
#include "FakeCommandModel.h"
#include "ScriptedFilePicker.h"
#include "TargetRecords.h"

namespace {
struct Services : QObject {
    explicit Services(KeyValueStore &store) : targets(store) {}
    FakeCommandModel commands;
    ScriptedFilePicker files;
    TargetRecords targets;
};

QWidget *build(SceneWorld &world)
{
    QWidget *page = commandDialogHost();
    auto *services = new Services(world.store());
    services->setParent(page);
    auto *view = new AddCommandView(
        {&services->commands, &services->targets, &services->files, nullptr, [](const QString &, const QString &) {}},
        page);
    auto record = std::make_shared<QXVoiceCommandItem>();
    record->setTypeIndex(world.intOption(QStringLiteral("type")));
    record->customCmd = world.option(QStringLiteral("word"));
    record->customName = world.option(QStringLiteral("target"));
    view->setModel(record);
    return page;
}

const SceneRegistrar
    reg({QStringLiteral("command-dialog-voice"),
         QStringLiteral("add and edit command dialog, voice mode, editing a command"),
         {{QStringLiteral("type"), QStringLiteral("1"), QStringLiteral("type index of the command (0 file … 4 text)")},
          {QStringLiteral("word"), QStringLiteral("音乐"), QStringLiteral("command word")},
          {QStringLiteral("target"), QStringLiteral("file:///home/u/Music"), QStringLiteral("target text")}},
         build});
} // namespace
