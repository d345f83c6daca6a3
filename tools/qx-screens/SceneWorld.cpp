#include "SceneWorld.h"

#include <cstdio>
#include <cstdlib>

namespace {
// Before the page world builds anything that reads a host.
bool deadHosts()
{
    for (const char *var :
         {"QX_API_BASE", "QX_API2_BASE", "QX_WEB_BASE", "QX_WEATHER_BASE", "QX_SEMANTIC_BASE", "QX_CHIP_TOKEN_BASE"})
        if (qEnvironmentVariableIsEmpty(var))
            qputenv(var, "http://127.0.0.1:9");
    return true;
}
} // namespace

SceneWorld::SceneWorld(const SceneDef &scene, QMap<QString, QString> options)
    : m_scene(scene), m_options(std::move(options)), m_deadHosts(deadHosts())
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
