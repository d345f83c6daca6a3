#include "QXCommandMatching.h"

#include "PZString.h"

QString qxCommandWord(const QXVoiceCommandItem &item)
{
    const QString custom = item.customCmd.value_or(QString());
    return custom.isEmpty() ? item.cmdWord.value_or(QString()) : custom;
}

QXVoiceCommandPtr searchCmdFromCommandArr(const QXVoiceCommandList &list, const QString &text)
{
    const QString spoken = pz::deleteCharacters(text).value_or(QString());
    if (spoken.isEmpty())
        return nullptr;
    for (const QXVoiceCommandPtr &item : list) {
        if (!item)
            continue;
        // Every text "contains" the empty word.
        const QString word = qxCommandWord(*item);
        if (!word.isEmpty() && (word.compare(spoken, Qt::CaseInsensitive) == 0 || spoken.contains(word)))
            return item;
    }
    return nullptr;
}
