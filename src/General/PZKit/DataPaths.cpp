#include "DataPaths.h"

#include "PZLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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

void ensureHome()
{
    if (!qEnvironmentVariableIsEmpty("HOME"))
        return;
    if (const passwd *user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir)
        ::setenv("HOME", user->pw_dir, 1);
}

bool ensureDir(const QString &path)
{
    if (QDir(path).exists())
        return true;
    // The folders hold recordings, logs and the database: those made here are the
    // owner's alone.
    QStringList missing;
    for (QString p = QDir::cleanPath(path); !p.isEmpty() && !QFileInfo::exists(p);) {
        missing.prepend(p);
        const QString up = QFileInfo(p).path();
        if (up == p)
            break;
        p = up;
    }
    for (const QString &dir : std::as_const(missing)) {
        if (::mkdir(QFile::encodeName(dir).constData(), 0700) != 0 && errno != EEXIST) {
            qxLogOnce("mkdir:" + path, QStringLiteral("cannot create folder %1").arg(path));
            return false;
        }
    }
    return QFileInfo(path).isDir();
}

void setDataRootOverride(const QString &path)
{
    g_override = path;
}

} // namespace DataPaths
