#pragma once

#include "PageWorld.h"
#include "Scene.h"

#include <QMap>
#include <QString>

#include <functional>
#include <memory>

// What every scene stands on: the page world (the notification centre, a fresh
// application state and language manager over an in-memory store and a temporary
// data root, the recorders of the page context), virtual time that stands still
// unless the scene moves it (animations show the state the scene asks for, not the
// moment of the picture), and the scene's options. Every outside host is a port where
// nothing listens, so no scene reaches the internet.
class SceneWorld {
public:
    SceneWorld(const SceneDef &scene, QMap<QString, QString> options);

    // The option's value as given, else its default.
    QString option(const QString &key) const;
    // The same read as a number; a value that is not one ends the tool with a usage
    // error naming the option.
    int intOption(const QString &key) const;
    double doubleOption(const QString &key) const;

    ManualScheduler &scheduler() { return m_page.scheduler; }
    QXUserInfoData &state() { return m_page.state(); }
    MemoryKeyValueStore &store() { return m_page.data.store(); }
    // What a page scene builds its page over, and the recorders behind it.
    PageContext context() { return m_page.context(); }
    PageWorld &pages() { return m_page; }

    // Runs once the scene's window is shown, laid out and active, before the picture
    // is taken: give a field the focus, open a menu, press a button.
    void afterShow(std::function<void()> fn) { m_afterShow.push_back(std::move(fn)); }
    void runAfterShow();
    // The picture comes from the screen, not from the widgets' own painting: for a
    // window that shows another program's window inside it.
    void takeFromScreen() { m_fromScreen = true; }
    bool fromScreen() const { return m_fromScreen; }

private:
    const SceneDef &m_scene;
    QMap<QString, QString> m_options;
    bool m_deadHosts;
    PageWorld m_page;
    std::vector<std::function<void()>> m_afterShow;
    bool m_fromScreen = false;
};
