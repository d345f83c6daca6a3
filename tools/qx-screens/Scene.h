#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;
class SceneWorld;

// One option a scene understands: `--key value` on the command line.
struct SceneOption {
    QString key;
    QString defaultValue;
    QString help;
};

// A window, page or pop-up in a fixed state. build() returns the top-level widget to
// render (the tool owns it); popups it opens are drawn into the picture too.
struct SceneDef {
    QString name;    // "kit-text"
    QString summary; // one line for --list
    QList<SceneOption> options;
    std::function<QWidget *(SceneWorld &)> build;
};

// Every scene compiled into the tool. Scenes register themselves (SceneRegistrar),
// so adding one is adding one source file under scenes/.
class SceneRegistry {
public:
    static SceneRegistry &instance();
    void add(SceneDef def);
    const SceneDef *find(const QString &name) const;
    // In name order.
    QList<const SceneDef *> all() const;

private:
    QList<SceneDef> m_scenes;
};

struct SceneRegistrar {
    explicit SceneRegistrar(SceneDef def) { SceneRegistry::instance().add(std::move(def)); }
};
