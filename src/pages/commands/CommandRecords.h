#pragma once

#include <QString>
#include <QStringList>

class QXVoiceCommandItem;

// The text forms the command pages give a command's fields.

// The list icon of a command's type: "4_commandType<typeIndex + 1>_icon".
QString commandTypeIconName(const QXVoiceCommandItem &item);

// The target text of a file or folder picked in a file dialog: "file://" and the
// absolute path, unescaped (spaces, "%" and non-ASCII letters stay as they are), the
// form the target records are keyed by.
QString pickedLocationText(const QString &localPath);

// The words of a hot-word entry ("customCmd"): their compact JSON array text in
// order, one word as a one-element array, UTF-8 letters unescaped.
QString hotWordEntryText(const QStringList &words);
