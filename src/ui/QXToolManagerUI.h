#pragma once

#include "platform/PlatformServices.h"
#include "services/IErrorAlert.h"

#include <QList>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QUrl>

#include <functional>

class IAppShell;
class TargetRecords;
class QFont;

// Posts one key stroke of a macOS virtual key code with macOS modifier flags into
// the focused application: the key goes down and comes up again, with the modifiers
// held around it. keyDown false posts nothing (a key-up alone changes nothing).
// Any thread may call it. Uses the installed key poster unless one is given.
void QXPostKeyEvent(int keyCode, bool keyDown, quint64 flags, platform::IKeyPoster *poster = nullptr);

// The mouse location relative to the bottom-left corner of the first screen (in
// screen order) that contains it, y growing upwards; (0, 0) when no screen does.
QPointF QXScreenUnderMouse();
// The same computed from given values (top-left desktop coordinates).
QPointF screenPointUnderMouse(const QPoint &cursor, const QList<QRect> &screens);

// The tool manager's helpers that act on the desktop: key strokes, clipboard, alerts,
// text measuring, opening files and web addresses. The platform services and the
// few values of other parts of the application come in through Deps; a default
// Deps uses the installed services.
class QXToolManagerUI : public IErrorAlert {
public:
    struct Deps {
        platform::IKeyPoster *keyPoster = nullptr; // nullptr: the installed one
        platform::IClipboard *clipboard = nullptr; // nullptr: the installed one
        platform::IWorkspace *workspace = nullptr; // nullptr: the installed one
        // Looks up the user-visible text of a key in the interface language
        // (default: HRVLocalizedString).
        std::function<QString(const QString &)> localize;
        // The file and folder targets the user picked (only those are opened);
        // nullptr: the records in the application's store.
        const TargetRecords *targets = nullptr;
        IAppShell *shell = nullptr; // the main window alerts are shown on; nullptr: none
    };

    QXToolManagerUI();
    explicit QXToolManagerUI(Deps deps);

    // The process-wide instance, which the composition root constructed and installed.
    static QXToolManagerUI &sharedInstance();
    static QXToolManagerUI *setSharedInstance(QXToolManagerUI *instance); // returns the previous one

    // Puts text on the clipboard and pastes it into the focused application
    // (Control+V). Nothing is pasted when the clipboard refused the text.
    void copyAndPaste(const QString &text);

    // Replays a recorded shortcut: JSON {"keyCode": n, "modifierFlagsString": "⌃⌥"}.
    // Returns false, with a log line, when nothing was posted.
    bool handleShortcut(const QString &shortcutText);

    // Copies the current selection of the desktop (the X11 PRIMARY selection) to the
    // clipboard; 100 ms later completion gets the text when there was one. Otherwise
    // the clipboard gets its previous contents back and completion is not called.
    void getText(std::function<void(const QString &)> completion);

    // The keyboard usage id the mouse types for a one-character key name; 0 for none.
    static int keyCodeForString(const QString &name);

    // An informational alert, window-modal on the main window (application-modal
    // while there is none), with one "知道了" button that only closes it.
    void showErrorMsg(const QString &message, const QString &domain) override;

    // Height of text wrapped to width (resp. width of text on one line), plus 2;
    // 2 for a null text.
    static double textHeight(const QString &text, double width, const QFont &font);
    static double textWidth(const QString &text, double height, const QFont &font);

    // Opens a file or folder the user picked earlier, named by its target text as
    // stored ("file://..." or a path); other targets are not opened.
    bool openFileWithPath(const QString &target);

    // Opens a web address in the default browser; "http://" is added when the text
    // names no scheme. Invalid addresses are not opened.
    bool openBrowserWithCmdString(const QString &text);
    // The address openBrowserWithCmdString would open; invalid when none.
    static QUrl browserUrlForCmdString(const QString &text);

private:
    platform::IKeyPoster &keyPoster() const;
    platform::IClipboard &clipboard() const;
    platform::IWorkspace &workspace() const;

    Deps m_deps;
};
