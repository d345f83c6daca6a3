#pragma once

#include <QString>

// What a script message from the AI page asks of the application. Pages post them
// through window.webkit.messageHandlers.<name>.postMessage(body); the bridge hands
// over the name and the body as JSON text. Only the known names and shapes act:
// anything else is logged and changes nothing. Pure.
struct AiMessageAction {
    enum class Kind {
        None,             // logged only
        GoBack,           // the main window, first tab
        CopyToClipboard,  // text
        ClearClipboard,   // a copy without a text: the clipboard is left empty
        AnswerMicrophone, // run the permission answer in the page
    };
    Kind kind = Kind::None;
    QString text;
    QString logLine; // one line for the log, always set
};

namespace aiweb {

// Bodies larger than this are dropped unread.
inline constexpr qsizetype kMaxMessageBytes = 1024 * 1024;

AiMessageAction handleAiMessage(const QString &name, const QString &json);

} // namespace aiweb
