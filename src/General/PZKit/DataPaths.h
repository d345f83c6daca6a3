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

// Tests point the root somewhere else without touching the environment.
void setDataRootOverride(const QString &path); // empty clears it

} // namespace DataPaths
