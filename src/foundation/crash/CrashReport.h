#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// The crash report a failing process leaves in <data root>/Crash.
namespace CrashReport {

// "crash报告\nname:<name>\nreason:\n<reason>\ncallStackSymbols:\n<frame>\n<frame>..."
QString reportText(const QString &name, const QString &reason, const QStringList &frames);

// "<yyyy-MM-dd-HH-mm_ss>_crash.txt" in local time; a clash number n > 0 gives "..._ss_<n>_crash.txt".
QString fileName(const QDateTime &time, int clash = 0);

// The Crash folder under the data root.
QString folder();

// Writes the report into the folder (made when missing) without replacing an earlier one
// of the same second. The path written, or "" when nothing could be written.
QString write(const QString &folder, const QDateTime &time, const QString &text);

} // namespace CrashReport
