#include "DataPaths.h"

#include "PZLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
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

QString ensurePrivateDir(const QString &path, QString *why)
{
    const QString dir = QDir::cleanPath(path);
    const QByteArray name = QFile::encodeName(dir);
    const auto refuse = [why](const QString &reason) {
        if (why)
            *why = reason;
        return QString();
    };
    if (!QFileInfo::exists(dir) && !QFileInfo(dir).isSymLink()) {
        if (!ensureDir(QFileInfo(dir).path()))
            return refuse(QStringLiteral("cannot create its parent"));
        // Made by us or by someone else meanwhile: the checks below decide.
        if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
            return refuse(QString::fromLocal8Bit(std::strerror(errno)));
    }
    struct stat st = {};
    if (::lstat(name.constData(), &st) != 0)
        return refuse(QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISDIR(st.st_mode))
        return refuse(QStringLiteral("not a folder"));
    if (st.st_uid != ::geteuid())
        return refuse(QStringLiteral("a folder of user %1").arg(st.st_uid));
    if ((st.st_mode & 0777) != 0700)
        return refuse(QStringLiteral("open to others (mode %1)").arg(st.st_mode & 0777, 3, 8, QLatin1Char('0')));
    return dir;
}

QString runtimeFolder(const QString &name)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return joinPath(runtime, name);
    return joinPath(cacheRoot(), name);
}

void setDataRootOverride(const QString &path)
{
    g_override = path;
}

} // namespace DataPaths
