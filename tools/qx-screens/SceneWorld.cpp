#include "SceneWorld.h"

#include <cstdio>
#include <cstdlib>

SceneWorld::SceneWorld(const SceneDef &scene, QMap<QString, QString> options)
    : m_scene(scene), m_options(std::move(options))
{
}

QString SceneWorld::option(const QString &key) const
{
    if (const auto it = m_options.constFind(key); it != m_options.constEnd())
        return *it;
    for (const SceneOption &o : m_scene.options)
        if (o.key == key)
            return o.defaultValue;
    return {};
}

namespace {
[[noreturn]] void badNumber(const QString &scene, const QString &key, const QString &value)
{
    std::fprintf(stderr, "qx-screens %s: --%s wants a number, not \"%s\"\n", qPrintable(scene), qPrintable(key),
                 qPrintable(value));
    std::exit(2);
}
} // namespace

int SceneWorld::intOption(const QString &key) const
{
    bool ok = false;
    const int v = option(key).toInt(&ok);
    if (!ok)
        badNumber(m_scene.name, key, option(key));
    return v;
}

double SceneWorld::doubleOption(const QString &key) const
{
    bool ok = false;
    const double v = option(key).toDouble(&ok);
    if (!ok)
        badNumber(m_scene.name, key, option(key));
    return v;
}

void SceneWorld::runAfterShow()
{
    for (auto &fn : m_afterShow)
        fn();
}
