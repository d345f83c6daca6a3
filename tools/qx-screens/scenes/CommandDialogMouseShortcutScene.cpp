// The add and edit command dialog in mouse-setting mode over the device page's
// 900 x 600 view: a key option whose action replays a shortcut, stored under its id.
#include "CommandDialogHost.h"
#include "SceneWorld.h"

#include <QPalette>

#include "AddCommandView.h"
#include "FakeGlobalShortcuts.h"
#include "KeySettingSubModel.h"
#include "ScriptedFilePicker.h"
#include "TargetRecords.h"
#include "platform/ShortcutBinder.h"
#include "sqlite/QXVoiceCommandItem.h"

namespace {
struct Services : QObject {
    explicit Services(KeyValueStore &store) : targets(store), binder(store, &grabs) {}
    ScriptedFilePicker files;
    TargetRecords targets;
    FakeGlobalShortcuts grabs;
    platform::ShortcutBinder binder;
};

QWidget *build(SceneWorld &world)
{
    QWidget *page = commandDialogHost();
    auto *services = new Services(world.store());
    services->setParent(page);
    auto option = std::make_shared<KeySettingSubModel>();
    option->setIdStr(QStringLiteral("opt7"));
    services->binder.setShortcut(QStringLiteral("opt7"), platform::Shortcut{40, 0x120000}); // Ctrl+Shift+K

    auto *view = new AddCommandView(
        {nullptr, &services->targets, &services->files, &services->binder, [](const QString &, const QString &) {}},
        page);
    view->setIsFromMouseSetting(true);
    view->setKeySubModel(option);
    auto record = std::make_shared<QXVoiceCommandItem>();
    record->setTypeIndex(world.intOption(QStringLiteral("type")));
    record->customName = QString();
    view->setModel(record);
    return page;
}

const SceneRegistrar reg({QStringLiteral("command-dialog-mouse-shortcut"),
                          QStringLiteral("add and edit command dialog, mouse mode, a shortcut action"),
                          {{QStringLiteral("type"), QStringLiteral("3"),
                            QStringLiteral("type index of the key action (3 shortcut, 0 file, 2 web page)")}},
                          build});
} // namespace
