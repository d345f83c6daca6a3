#pragma once

#include "sqlite/SqliteColumn.h"

#include <QString>

#include <optional>
#include <span>

// A voice command: a custom command or hot-word entry of the user, or one of the
// server's common commands. Unset texts stay unset (std::nullopt) through storage, so
// a record can tell "never given" from "given empty".
class QXVoiceCommandItem {
public:
    std::optional<QString> cmdType;    // "file", "folder", "website", "shortcuts", "text" or "phrase"
    std::optional<QString> customCmd;  // spoken word; for a hot-word entry the JSON array text of its words
    std::optional<QString> customName; // target: location, address, fixed text or shortcut JSON
    std::optional<QString> cmdWord;    // word of a common command
    std::optional<QString> cmdExecute; // target of a common command

    // The index of cmdType among the six type names; any other or unset type is 0.
    qint64 typeIndex() const;
    // 0..5 set the matching type name; anything else (negative included) sets "".
    void setTypeIndex(qint64 index);

    // Columns of "DBCommonCmdList" and "DBCustomizeCmdList", in declaration order.
    // typeIndex is written for files other versions read, but a row is read back by its
    // cmdType alone: a type this version does not know must stay what it is rather than
    // turn into "file" and be opened as one.
    static std::span<const SqliteColumn<QXVoiceCommandItem>> sqliteColumns();

    bool operator==(const QXVoiceCommandItem &other) const = default;
};
