#pragma once

#include <QString>

// What the voice-key dispatcher asks of the voice commands.
class IVoiceCommandRunner {
public:
    virtual ~IVoiceCommandRunner() = default;

    // Runs the custom command, else the common command, that the spoken text names.
    // False when none matches or neither target of the match could be run; searchText
    // then gets what to search the web for instead: the matched command's word, or
    // the spoken text when nothing matched.
    virtual bool runSpokenCommand(const QString &spokenText, QString *searchText = nullptr) = 0;

    // Runs one target as its command type says (a web search passes its address with
    // an empty type). True only when something was opened, typed or pasted.
    virtual bool openFileWithCmdPath(const QString &target, const QString &cmdType) = 0;
};
