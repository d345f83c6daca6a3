#pragma once

#include "QXTextAreaManager.h"
#include "Scheduler.h"
#include "keys/KeyActionTable.h"
#include "services/ITextInsertion.h"

#include <QObject>
#include <QPoint>

#include <functional>
#include <memory>

class QMimeData;
class QXMouseCommandManager;
class QXUserInfoData;
namespace platform {
class IAccessibilityBridge;
class IClipboard;
class IKeyPoster;
} // namespace platform

// Posts one key stroke of a macOS virtual key code with macOS modifier flags into
// the focused application: the key goes down and comes up again, with the modifiers
// held around it. keyDown false posts nothing (a key-up alone changes nothing).
// Any thread may call it. Uses the installed key poster unless one is given.
void QXPostKeyEvent(int keyCode, bool keyDown, quint64 flags, platform::IKeyPoster *poster = nullptr);

// Posts the chord as local key events, or in compatible mode has the device type it.
void sendChord(const keyaction::Chord &chord, bool compatibleMode, QXMouseCommandManager &device,
               platform::IKeyPoster &keyPoster);

// Text into other applications, and the key strokes and clipboard work around it:
// the paste (clipboard, chord or compatible mode, restore), the field sessions over
// the accessibility bus, recorded shortcuts and the copy of the selection. Main
// thread only.
class TextInsertionService final : public ITextInsertion {
public:
    struct Deps {
        platform::IClipboard &clipboard;
        platform::IKeyPoster &keyPoster;
        // Compatible mode: the switch, and the device that types the chords. Without
        // them chords are posted as key events.
        QXUserInfoData *state = nullptr;
        QXMouseCommandManager *device = nullptr;
        // The field sessions; nullptr: no accessibility bus, nothing is written.
        platform::IAccessibilityBridge *accessibility = nullptr;
        std::function<QPoint()> mousePosition = {}; // screen coordinates
    };

    // The user's clipboard comes back after a paste once the pasting application has
    // taken the text and kPasteTakenGraceMs passed without it asking again, and never
    // before kClipboardRestoreMs (a clipboard manager may take the text the moment it
    // is offered, before the target does). A slow target asks only when it gets to the
    // chord, however late; a target that never asks lets it come back at
    // kClipboardRestoreLimitMs. Without a chord nothing is waited for.
    static constexpr int kClipboardRestoreMs = 1000;
    static constexpr int kPasteTakenGraceMs = 300;
    static constexpr int kClipboardRestoreLimitMs = 10000;
    static constexpr int kSelectionCopyMs = 100;

    explicit TextInsertionService(Deps deps);
    ~TextInsertionService() override;
    TextInsertionService(const TextInsertionService &) = delete;
    TextInsertionService &operator=(const TextInsertionService &) = delete;

    bool pasteText(const QString &text, const Paste &how) override;
    void beginFieldSession() override;
    void showTextInField(const QString &text, bool isLast) override;

    // The chord as key events, or typed by the device (compatible mode, unless the
    // route says key events).
    void sendChord(const keyaction::Chord &chord, Chord route = Chord::FollowCompatibleMode);

    // Replays a recorded shortcut: JSON {"keyCode": n, "modifierFlagsString": "⌃⌥"}.
    // Returns false, with a log line, when nothing was posted.
    bool handleShortcut(const QString &shortcutText);

    // Copies the current selection of the desktop (the X11 PRIMARY selection) to the
    // clipboard; 100 ms later completion gets the text when there was one. Otherwise
    // the clipboard gets its previous contents back and completion is not called.
    void getText(std::function<void(const QString &)> completion);

private:
    void pasteTaken();
    void scheduleRestore();
    void restoreClipboard();

    Deps d;
    QObject m_context; // the timers die with the service
    // What the clipboard held before the first restoring paste of a burst, until it is put back.
    std::unique_ptr<QMimeData> m_savedClipboard;
    bool m_restorePending = false;
    QString m_pasted;
    // The last restoring paste: when, whether a chord asked for it, and its takers.
    qint64 m_pastedAtMs = 0;
    bool m_chordSent = false;
    int m_takes = 0;
    qint64 m_lastTakenAtMs = 0;
    Scheduler::TimerId m_restoreTimer = Scheduler::kNoTimer;
    bool m_lastPiece = false;
    QXTextAreaManager m_fields;
};
