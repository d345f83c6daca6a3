#pragma once

#include "KeyActionTable.h"
#include "Scheduler.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class IAIWindow;
class ISpeechPopup;
class IVoiceCommandRunner;
class QMimeData;
class QXLanguageManager;
class QXLocalTextPoster;
class QXMouseCommandManager;
class QXUserInfoData;
namespace platform {
class IClipboard;
class IKeyPoster;
} // namespace platform

// The web search address for a spoken text: the engine's prefix (0 and anything
// unknown Baidu, 1 Google, 2 Yahoo Japan) and the text as one query value.
QString webSearchAddress(quint64 searchEngineTag, const QString &text);

// Posts the chord as local key events, or in compatible mode has the device type it.
void sendChord(const keyaction::Chord &chord, bool compatibleMode, QXMouseCommandManager &device,
               platform::IKeyPoster &keyPoster);

// Where a final text goes: pasted into the focused application (or handed to the AI
// chat) and posted to the local text endpoint; a search text runs the voice command
// it names, or a web search. Main thread only.
class QXResultDelivery {
public:
    struct Deps {
        QXUserInfoData &state;
        QXLanguageManager &languages;
        QXMouseCommandManager &device; // types the paste chord in compatible mode
        platform::IKeyPoster &keyPoster;
        platform::IClipboard &clipboard;
        IAIWindow &aiWindow;
        IVoiceCommandRunner &commands;
        ISpeechPopup &popup;
        QXLocalTextPoster &localPost;
        std::function<bool()> isShowAIWindow = {}; // empty: the AI window never shows
    };

    // The user's clipboard comes back this long after the paste: the application the
    // text is pasted into asks for the clipboard only when it handles the chord.
    static constexpr int kClipboardRestoreMs = 1000;

    explicit QXResultDelivery(Deps deps);
    ~QXResultDelivery();
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
    void scheduleRestore();

    Deps d;
    QObject m_context; // the restore timer dies with the delivery
    // What the clipboard held before the first paste of a burst, until it is put back.
    std::unique_ptr<QMimeData> m_savedClipboard;
    bool m_restorePending = false;
    QString m_pasted;
    Scheduler::TimerId m_restoreTimer = Scheduler::kNoTimer;
};
