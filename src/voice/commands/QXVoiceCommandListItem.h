#pragma once

#include "sqlite/QXVoiceCommandItem.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>

#include <memory>
#include <optional>

// Commands are handed around by pointer: the pages, the dialog and the hot-word list
// remove "that very record", which two equal records must not confuse.
using QXVoiceCommandPtr = std::shared_ptr<QXVoiceCommandItem>;
using QXVoiceCommandList = QList<QXVoiceCommandPtr>;

// A command list answer of the server: {"data": [...], "cmds": [...]}.
struct QXVoiceCommandListItem {
    QXVoiceCommandList data;
    QXVoiceCommandList cmds;

    // nullopt when the answer holds neither "data" nor "cmds" as an array: that is
    // no list at all, and must not empty the stored one.
    static std::optional<QXVoiceCommandListItem> fromJson(const QJsonValue &answer);

    // "data" when it holds a command, otherwise "cmds".
    const QXVoiceCommandList &commands() const { return data.isEmpty() ? cmds : data; }
};

// One record of an answer. Texts are kept, numbers become their decimal text; null,
// arrays and objects leave the field unset (read as "").
QXVoiceCommandItem qxVoiceCommandFromJson(const QJsonObject &object);
// The object elements of an array, in order; other elements are skipped.
QXVoiceCommandList qxVoiceCommandsFromJson(const QJsonArray &array);

// Plain records (for the store) and back.
QList<QXVoiceCommandItem> qxVoiceCommandValues(const QXVoiceCommandList &list);
QXVoiceCommandList qxVoiceCommandPointers(const QList<QXVoiceCommandItem> &items);
