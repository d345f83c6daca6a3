#pragma once

// Reading and writing XDG desktop entries (launchers and autostart entries): the
// quoting of Exec and the escapes of string values. Qt Core only, so the build-time
// generator of the installed launcher writes its Exec with the same code the
// application uses for its autostart entry.
#include <QByteArray>
#include <QByteArrayView>
#include <QMap>
#include <QString>

#include <optional>

namespace platform::desktopentry {

// The keys of the "[Desktop Entry]" group, values as written in the file (escapes
// still in place).
using Group = QMap<QString, QString>;

// The Exec value, as written in the file, that runs program without arguments: the
// path quoted, with the Exec quoting rules and then the string escapes applied (a
// literal "\" ends up as four backslashes, "$" as "\\$", "%" as "%%"). Empty when the
// path cannot be written (empty, or control characters an entry cannot hold).
QString execValue(const QString &program);

// The program an Exec value (as written in the file) runs, unquoted and unescaped;
// empty when the value is malformed.
QString execProgram(const QString &value);

// A string value with its escapes (\s \n \t \r \\) resolved.
QString unescapeString(const QString &value);

// The "[Desktop Entry]" group of a desktop entry file. nullopt for anything that is
// not a well-formed entry: not UTF-8, no "[Desktop Entry]" as the first group, a line
// that is neither a comment, a group header nor "Key=Value", or a key given twice.
std::optional<Group> parseDesktopEntry(QByteArrayView text);

// Whether the desktop, at login, starts program through this entry: an application
// entry that is neither hidden nor switched off, whose Exec runs program (any
// program when program is empty).
bool autostartRuns(const Group &group, const QString &program);

} // namespace platform::desktopentry
