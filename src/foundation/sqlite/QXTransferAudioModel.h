#pragma once

#include "sqlite/SqliteColumn.h"

#include <QString>

#include <optional>
#include <span>

// A transcription job of the audio-file page, a row of "DBTransferAudioList".
class QXTransferAudioModel {
public:
    // A new job is keyed by its creation time in whole seconds since 1970.
    QXTransferAudioModel();

    std::optional<QString> idStr; // the key jobs are updated by
    std::optional<QString> path;  // the job's transcript file
    std::optional<QString> updateTime;
    std::optional<QString> result;
    qint64 status = 0;

    static std::span<const SqliteColumn<QXTransferAudioModel>> sqliteColumns();

    bool operator==(const QXTransferAudioModel &other) const = default;
};
