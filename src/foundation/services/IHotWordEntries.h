#pragma once

#include <QList>

#include <memory>

class QXVoiceCommandItem;

// The hot-word entries (the "phrase" records of the user's custom commands) as the
// hot-word list shows them: in table order, refilled from the store after the command
// model replaced or changed it. The voice layer's hot-word model is the one
// implementation. Main thread only.
class IHotWordEntries {
public:
    virtual ~IHotWordEntries() = default;
    virtual const QList<std::shared_ptr<QXVoiceCommandItem>> &hotWordListArray() = 0;
};
