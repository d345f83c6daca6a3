#pragma once

#include "IHotWordList.h"
#include "services/IHotWordEntries.h"

#include <QString>

#include <optional>

class WQSSqliteOperation;

// The hot-word entries (the "phrase" rows of the custom command table) and the text
// the speech service sends with every recognition frame so the recogniser favours
// them. The list fills itself from the table on first use; the command model empties
// it whenever it replaces the table, so the next use reads the new rows.
//
// The text goes into every frame (every 40 ms while audio flows), so it is built once
// per change of the list, never per frame.
//
// Main thread only: the list is refilled from the store there, and the speech service
// builds its frames there too.
class QXHotWordViewModel final : public IHotWordList, public IHotWordEntries {
public:
    explicit QXHotWordViewModel(WQSSqliteOperation &store);
    ~QXHotWordViewModel() override;
    QXHotWordViewModel(const QXHotWordViewModel &) = delete;
    QXHotWordViewModel &operator=(const QXHotWordViewModel &) = delete;

    // The process-wide instance, which the composition root constructed and installed.
    static QXHotWordViewModel &sharedInstance();

    // The entries in table order; read from the table when not loaded.
    const QXVoiceCommandList &hotWordListArray() override;
    void setHotWordListArray(const QXVoiceCommandList &list);
    // The entries' words (each a JSON array text) joined by ","; "" when none.
    QString getLocalHotWordListString();

    void clearHotWords() override;
    void removeHotWord(const QXVoiceCommandPtr &entry) override;

    // How often the text was built (for the once-per-change rule).
    int builds() const { return m_builds; }

private:
    void assertMainThread() const;

    WQSSqliteOperation &m_store;
    QXVoiceCommandList m_entries;
    // An empty table stays loaded too: otherwise every frame would read the whole table.
    bool m_loaded = false;
    std::optional<QString> m_text;
    int m_builds = 0;
};
