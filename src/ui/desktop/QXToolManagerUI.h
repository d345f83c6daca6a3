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

// The mouse location relative to the bottom-left corner of the first screen (in
// screen order) that contains it, y growing upwards; (0, 0) when no screen does.
QPointF QXScreenUnderMouse();
// The same computed from given values (top-left desktop coordinates).
QPointF screenPointUnderMouse(const QPoint &cursor, const QList<QRect> &screens);

// The tool manager's helpers that act on the desktop: alerts, text measuring, opening
// files and web addresses. (Key strokes and the clipboard are the text insertion
// service's.) The platform services and the few values of other parts of the
// application come in through Deps; a default Deps uses the installed services.
class QXToolManagerUI : public IErrorAlert {
public:
    struct Deps {
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
    platform::IWorkspace &workspace() const;

    Deps m_deps;
};
