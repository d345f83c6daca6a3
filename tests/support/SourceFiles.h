#pragma once

#include <QDirIterator>
#include <QFile>
#include <QList>
#include <QString>

#include <utility>

// Every C++ source and header under `root` (file name, text), for the tests that walk
// the code for what it asks of the build.
inline QList<std::pair<QString, QString>> cppSources(const QString &root)
{
    QList<std::pair<QString, QString>> out;
    QDirIterator it(root, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        out.append({it.fileName(), file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString()});
    }
    return out;
}
