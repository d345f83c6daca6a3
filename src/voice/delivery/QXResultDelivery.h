#pragma once

#include "TextInsertionService.h"
#include "keys/KeyActionTable.h"

#include <QString>

#include <functional>

class IAIWindow;
class ISpeechPopup;
class IVoiceCommandRunner;
class QXLanguageManager;
class QXLocalTextPoster;
class QXUserInfoData;

// The web search address for a spoken text: the engine's prefix (0 and anything
// unknown Baidu, 1 Google, 2 Yahoo Japan) and the text as one query value.
QString webSearchAddress(quint64 searchEngineTag, const QString &text);

// Where a final text goes: pasted into the focused application (or handed to the AI
// chat) and posted to the local text endpoint; a search text runs the voice command
// it names, or a web search. Main thread only.
class QXResultDelivery {
public:
    struct Deps {
        QXUserInfoData &state;
        QXLanguageManager &languages;
        TextInsertionService &text; // the paste, in compatible mode typed by the device
        IAIWindow &aiWindow;
        IVoiceCommandRunner &commands;
        ISpeechPopup &popup;
        QXLocalTextPoster &localPost;
        std::function<bool()> isShowAIWindow = {}; // empty: the AI window never shows
    };

    // The user's clipboard comes back this long after the paste: the application the
    // text is pasted into asks for the clipboard only when it handles the chord.
    static constexpr int kClipboardRestoreMs = TextInsertionService::kClipboardRestoreMs;

    explicit QXResultDelivery(Deps deps);
    QXResultDelivery(const QXResultDelivery &) = delete;
    QXResultDelivery &operator=(const QXResultDelivery &) = delete;

    // Pastes the text (or hands it to the AI chat), then posts it. An empty text does
    // nothing at all.
    void copyAndPasteResult(const QString &text);
    // Runs the custom, else the common command the text names; else searches the web
    // for the command's word or the text. A text of punctuation only does nothing.
    void requestMatchingCmd(const QString &text);
    void openBrowserWithCmdString(const QString &text);

private:
    void pasteStep(const QString &text);
    bool aiWindowTakesText() const;

    Deps d;
};
