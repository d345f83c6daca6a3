#pragma once

#include "InstalledInstance.h"
#include "ManualScheduler.h"
#include "NotificationCenter.h"
#include "Scene.h"
#include "ScopedUserInfoData.h"

#include <QMap>
#include <QString>

#include <functional>
#include <memory>

// What every scene stands on: the notification centre, a fresh application state
// and language manager over an in-memory store and
// a temporary data root, virtual time that stands still unless the scene moves it
// (animations show the state the scene asks for, not the moment of the picture),
// and the scene's options.
class SceneWorld {
public:
    SceneWorld(const SceneDef &scene, QMap<QString, QString> options);

    // The option's value as given, else its default.
    QString option(const QString &key) const;
    // The same read as a number; a value that is not one ends the tool with a usage
    // error naming the option.
    int intOption(const QString &key) const;
    double doubleOption(const QString &key) const;

    ManualScheduler &scheduler() { return m_scheduler; }
    QXUserInfoData &state() { return m_state.state(); }
    MemoryKeyValueStore &store() { return m_state.store(); }

    // Runs once the scene's window is shown, laid out and active, before the picture
    // is taken: give a field the focus, open a menu, press a button.
    void afterShow(std::function<void()> fn) { m_afterShow.push_back(std::move(fn)); }
    void runAfterShow();

private:
    const SceneDef &m_scene;
    QMap<QString, QString> m_options;
    NotificationCenter m_notifications;
    ScopedInstall<NotificationCenter> m_installedNotifications{&m_notifications};
    ScopedUserInfoData m_state;
    ManualScheduler m_scheduler;
    std::vector<std::function<void()>> m_afterShow;
};
