#pragma once

#include <QString>

// Puts text into the application the user works in: the one way the voice results,
// the key actions, the voice commands and the translation and AI windows do it. The
// composition root builds it and hands it to whoever needs it.
class ITextInsertion {
public:
    // How the paste chord reaches the focused application.
    enum class Chord {
        FollowCompatibleMode, // typed by the device in compatible mode, else posted as key events
        KeyEvents,            // posted as key events whatever the mode
        None,                 // the text only goes onto the clipboard
    };
    struct Paste {
        Chord chord = Chord::FollowCompatibleMode;
        // The user's clipboard comes back a moment after the paste (the target asks for
        // it only when it handles the chord), unless something else was copied since.
        bool restoreClipboard = true;
    };

    virtual ~ITextInsertion() = default;

    // The text onto the clipboard, then the paste chord. An empty text, or one the
    // clipboard refuses, pastes nothing and returns false; a refused text leaves the
    // clipboard as it was when it is to be restored.
    virtual bool pasteText(const QString &text, const Paste &how) = 0;

    // Straight into a field over the accessibility bus, without the clipboard. A
    // session begins when a recognition starts: the text field under the mouse
    // pointer, its value and its caret are remembered, and nothing of an earlier
    // session is kept. No field, a password field or a read-only one: nothing is
    // written until the next session.
    virtual void beginFieldSession() = 0;
    // The whole text so far, written over the remembered value at the remembered caret
    // (at the end when the field reports no caret); after the last piece the caret goes
    // behind the text.
    virtual void showTextInField(const QString &text, bool isLast) = 0;
};
