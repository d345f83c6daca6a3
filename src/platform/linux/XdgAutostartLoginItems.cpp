#include "XdgAutostartLoginItems.h"

#include "PZLog.h"
#include "platform/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace platform::linuxbackend {

namespace {

// An autostart entry is a few lines; anything far larger is not one of ours.
constexpr qint64 kMaxEntrySize = 64 * 1024;

// The id becomes a file name.
bool isSafeId(const QString &id)
{
    if (id.isEmpty() || id.startsWith(u'.'))
        return false;
    for (const QChar c : id)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'.' && c != u'-' && c != u'_')
            return false;
    return true;
}

// Relative paths in these variables are invalid and to be ignored.
QString absoluteEnv(const char *name)
{
    const QString value = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : QString();
}

QString entryFile(const QString &folder, const QString &id)
{
    return folder + u'/' + id + QStringLiteral(".desktop");
}

// nullopt when there is no file; a file that cannot be read or is not a well-formed
// entry starts nothing.
std::optional<bool> entryRuns(const QString &path, const QString &program)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qxLogOnce(
            QStringLiteral("autostart-read:") + path,
            QStringLiteral("autostart entry %1 cannot be read (%2); it counts as off").arg(path, file.errorString()));
        return false;
    }
    const QByteArray text = file.read(kMaxEntrySize + 1);
    const auto group = text.size() > kMaxEntrySize ? std::nullopt : desktopentry::parseDesktopEntry(text);
    if (!group) {
        qxLogOnce(QStringLiteral("autostart-bad:") + path,
                  QStringLiteral("autostart entry %1 is not a valid desktop entry; it counts as off").arg(path));
        return false;
    }
    return desktopentry::autostartRuns(*group, program);
}

} // namespace

XdgAutostartLoginItems::XdgAutostartLoginItems(QString displayName) : m_displayName(std::move(displayName)) {}

QString XdgAutostartLoginItems::userFolder()
{
    QString base = absoluteEnv("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/autostart");
}

QStringList XdgAutostartLoginItems::systemFolders()
{
    QStringList folders;
    for (const QString &dir : qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir))
            folders << QDir::cleanPath(dir) + QStringLiteral("/autostart");
    if (folders.isEmpty())
        folders << QStringLiteral("/etc/xdg/autostart");
    return folders;
}

bool XdgAutostartLoginItems::isEnabled(const QString &id, const QString &program)
{
    if (!isSafeId(id))
        return false;
    if (const auto runs = entryRuns(entryFile(userFolder(), id), program))
        return *runs;
    for (const QString &folder : systemFolders())
        if (const auto runs = entryRuns(entryFile(folder, id), program))
            return *runs;
    return false;
}

bool XdgAutostartLoginItems::setEnabled(const QString &id, const QString &program, bool on)
{
    if (!isSafeId(id)) {
        qxWarning("autostart") << "login item id" << id << "cannot name a file; nothing changed";
        return false;
    }
    const QString path = entryFile(userFolder(), id);
    if (on) {
        write(path, program, false);
    } else {
        bool systemEntry = false;
        for (const QString &folder : systemFolders())
            systemEntry = systemEntry || QFileInfo::exists(entryFile(folder, id));
        // Removing ours would let the system's entry start the program again.
        if (systemEntry)
            write(path, program, true);
        else if (QFileInfo(path).exists() && !QFile::remove(path))
            qxWarning("autostart") << "cannot remove" << path;
    }
    // Whatever went wrong on the way, the answer is the state the desktop will see.
    return isEnabled(id, program) == on;
}

QString XdgAutostartLoginItems::entryText(const QString &program, bool hidden) const
{
    const QString exec = desktopentry::execValue(program);
    if (exec.isEmpty() && !hidden)
        return {};
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\n").arg(m_displayName);
    if (!exec.isEmpty())
        text += QStringLiteral("Exec=%1\n").arg(exec);
    text += hidden ? QStringLiteral("Hidden=true\n") : QStringLiteral("X-GNOME-Autostart-enabled=true\n");
    return text;
}

bool XdgAutostartLoginItems::write(const QString &path, const QString &program, bool hidden)
{
    const QString text = entryText(program, hidden);
    if (text.isEmpty()) {
        qxWarning("autostart") << "the program path" << program << "cannot be written into an autostart entry";
        return false;
    }
    if (!QDir().mkpath(userFolder())) {
        qxWarning("autostart") << "cannot create the folder" << userFolder();
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        qxWarning("autostart") << "cannot write" << path << ":" << file.errorString();
        return false;
    }
    return true;
}

} // namespace platform::linuxbackend
