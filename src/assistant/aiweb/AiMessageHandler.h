#pragma once

#include <QString>

#include <map>
#include <optional>

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

// Which script messages reach the log: at most one line a second for each name, so a
// page posting in a loop cannot fill the disk through the day's log. The next line of
// a name says how many of it went unlogged. Pure.
class ScriptMessageLog {
public:
    static constexpr qint64 kIntervalMs = 1000;
    // The line to write for a message at `nowMs` (monotonic), or nothing.
    std::optional<QString> line(const QString &name, const QString &logLine, qint64 nowMs);

private:
    struct Kind {
        qint64 loggedMs = 0;
        int unlogged = 0;
    };
    std::map<QString, Kind> m_kinds; // a handful of names; any past them share one entry
};

} // namespace aiweb
