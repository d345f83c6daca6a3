#pragma once

#include <QString>

// Where the application keeps its files.
//   data root: $QX_DATA_DIR, else the per-user application data folder
//   caches:    $QX_DATA_DIR/Caches, else the per-user cache folder
//   config:    the preference file lives under the data root's parent config folder,
//              or $QX_DATA_DIR when it is set
namespace DataPaths {

QString dataRoot();
QString cacheRoot();
QString preferenceFile();

// The data root with a component appended: getFilePath("/Log") -> "<root>/Log".
// Leading slashes are dropped and no double slash is produced. The folder is not created.
QString getFilePath(const QString &component);

// Without HOME (a service, "env -i"), Qt would put the per-user folders under "/": HOME
// becomes the user's home from the password database. Call before Qt starts.
void ensureHome();

// Creates the folder (with parents) when missing, each one made readable by its owner
// only (0700); false (logged once) when that fails.
bool ensureDir(const QString &path);

// A folder for files no one else may read or replace: made (with its parents) when
// missing, the folder itself 0700. One found there is taken only when it is a real
// folder (no link) of this user's with no access for anyone else; else "" with why.
QString ensurePrivateDir(const QString &path, QString *why = nullptr);

// The folder for files that live only until they are handed on: in the user's runtime
// folder, else in the caches; `name` inside it.
QString runtimeFolder(const QString &name);

// Tests point the root somewhere else without touching the environment.
void setDataRootOverride(const QString &path); // empty clears it

} // namespace DataPaths
