#pragma once

#include "QXVoiceCommandListItem.h"

// The hot-word entries (the type-5 rows of the custom table) as the hot-word pages
// keep them in memory. The command model keeps them in step with the table: emptied
// whenever the stored list is replaced (they refill from the table on next use), one
// entry removed when it is deleted.
class IHotWordList {
public:
    virtual ~IHotWordList() = default;
    virtual void clearHotWords() = 0;
    virtual void removeHotWord(const QXVoiceCommandPtr &entry) = 0;
};
