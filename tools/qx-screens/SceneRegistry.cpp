#include "Scene.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

SceneRegistry &SceneRegistry::instance()
{
    static SceneRegistry registry;
    return registry;
}

void SceneRegistry::add(SceneDef def)
{
    if (find(def.name)) {
        // Two files claiming one name is a build mistake; say so at once.
        std::fprintf(stderr, "qx-screens: scene \"%s\" registered twice\n", qPrintable(def.name));
        std::abort();
    }
    m_scenes.append(std::move(def));
}

const SceneDef *SceneRegistry::find(const QString &name) const
{
    for (const SceneDef &scene : m_scenes)
        if (scene.name == name)
            return &scene;
    return nullptr;
}

QList<const SceneDef *> SceneRegistry::all() const
{
    QList<const SceneDef *> list;
    for (const SceneDef &scene : m_scenes)
        list.append(&scene);
    std::sort(list.begin(), list.end(), [](const SceneDef *a, const SceneDef *b) { return a->name < b->name; });
    return list;
}
