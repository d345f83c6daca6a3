#include "TargetRecords.h"

#include "KeyValueStore.h"
#include "PZLog.h"

#include <QFileInfo>
#include <QUrl>

namespace {

// Longer paths cannot exist on Linux (PATH_MAX), so they are refused before any
// file-system call.
constexpr qsizetype kMaxPathBytes = 4096;

bool hasControlCharacter(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    return false;
}

} // namespace

TargetRecords::TargetRecords(KeyValueStore &store) : m_store(store) {}

std::optional<QString> TargetRecords::localPath(const QString &targetText)
{
    QString path = targetText;
    if (path.startsWith(QLatin1String("file://"))) {
        path = path.mid(7);
        if (path.startsWith(QLatin1String("localhost/")))
            path = path.mid(9);
    }
    if (!path.startsWith(u'/') || hasControlCharacter(path) || path.toUtf8().size() >= kMaxPathBytes)
        return std::nullopt;
    return path;
}

QString TargetRecords::storeKey(const QString &targetText)
{
    // "~" is unreserved for URLs but not in our key alphabet.
    return QStringLiteral("targetRecords/") + QString::fromLatin1(QUrl::toPercentEncoding(targetText, {}, "~"));
}

bool TargetRecords::record(const QString &targetText)
{
    const std::optional<QString> path = localPath(targetText);
    if (!path || !QFileInfo::exists(*path)) {
        qxInfo("targets") << "no record for a target that is no existing local path:" << targetText.left(200);
        return false;
    }
    m_store.setValue(storeKey(targetText), *path);
    return true;
}

std::optional<QString> TargetRecords::resolve(const QString &targetText) const
{
    if (targetText.isEmpty())
        return std::nullopt;
    const QString path = m_store.value(storeKey(targetText)).toString();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}
