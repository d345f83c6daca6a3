#include "CrashReport.h"

#include "DataPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace CrashReport {

QString reportText(const QString &name, const QString &reason, const QStringList &frames)
{
    return QStringLiteral("crash报告\nname:%1\nreason:\n%2\ncallStackSymbols:\n%3")
        .arg(name, reason, frames.join(u'\n'));
}

QString fileName(const QDateTime &time, int clash)
{
    const QString stamp = time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd-HH-mm_ss"));
    if (clash > 0)
        return QStringLiteral("%1_%2_crash.txt").arg(stamp).arg(clash);
    return stamp + QStringLiteral("_crash.txt");
}

QString folder()
{
    return DataPaths::getFilePath(QStringLiteral("/Crash"));
}

QString write(const QString &dir, const QDateTime &time, const QString &text)
{
    if (!QFileInfo(dir).isDir())
        DataPaths::ensureDir(dir);
    // Two crashes within one second (say, two quick runs) keep both reports.
    for (int clash = 0; clash < 1000; ++clash) {
        const QString path = dir + u'/' + fileName(time, clash);
        if (QFileInfo::exists(path))
            continue;
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly))
            return {};
        // The call stack may show what the user was doing: the owner's eyes only.
        out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        out.write(text.toUtf8());
        return out.commit() ? path : QString();
    }
    return {};
}

} // namespace CrashReport
