#pragma once

#include "AsrReply.h"

#include <QString>

// The text of one recognition as its replies build it up: sentence results (FIN) are
// kept, one per line; an interim result (MID) is only shown after them; the last
// result (LAST) adds its own sentence or, when it has none, confirms the kept ones.
class AsrResultText {
public:
    struct Report {
        QString display; // the whole text to show now
        QString newText; // what this reply added
        int status = 0;  // 0 interim, 1 sentence final, 2 last
        bool isLast = false;
    };

    Report apply(const AsrReply &reply);

    const QString &text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }
    void clear() { m_text.clear(); }

private:
    void appendSentence(const QString &sentence);

    QString m_text;
};
