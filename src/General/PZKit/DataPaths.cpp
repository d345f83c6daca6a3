#include "DataPaths.h"

#include "PZLog.h"

#include <QDir>
#include <QStandardPaths>

namespace {
QString g_override;

QString joinPath(const QString &root, const QString &component)
{
    QString c = component;
    while (c.startsWith(u'/'))
        c.remove(0, 1);
    if (c.isEmpty())
        return root;
    QString r = root;
    while (r.size() > 1 && r.endsWith(u'/'))
        r.chop(1);
    return r + u'/' + c;
}
} // namespace

namespace DataPaths {

QString dataRoot()
{
    if (!g_override.isEmpty())
        return g_override;
    const QString env = qEnvironmentVariable("QX_DATA_DIR");
    if (!env.isEmpty())
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString cacheRoot()
{
    if (!g_override.isEmpty())
        return joinPath(g_override, "Caches");
    const QString env = qEnvironmentVariable("QX_DATA_DIR");
    if (!env.isEmpty())
        return joinPath(env, "Caches");
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

QString preferenceFile()
{
    if (!g_override.isEmpty() || !qEnvironmentVariable("QX_DATA_DIR").isEmpty())
        return getFilePath("preferences.ini");
    return joinPath(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation), "preferences.ini");
}

QString getFilePath(const QString &component)
{
    return joinPath(dataRoot(), component);
}

bool ensureDir(const QString &path)
{
    if (QDir(path).exists())
        return true;
    if (QDir().mkpath(path))
        return true;
    qxLogOnce("mkdir:" + path, QStringLiteral("cannot create folder %1").arg(path));
    return false;
}

void setDataRootOverride(const QString &path)
{
    g_override = path;
}

} // namespace DataPaths
