#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include <functional>

class QWidget;

namespace platform {

// How the AI pages' web engine is set up: one named profile that keeps its cookies
// and storage on disk (logins survive a restart), one user agent for all its pages,
// and the script-message names the pages may post to.
struct AiWebHostOptions {
    QString profileName; // "ai"
    QString storagePath; // where the profile keeps its data; "" for the engine's default
    QString userAgent;
    QStringList messageHandlerNames; // window.webkit.messageHandlers.<name>.postMessage(body)
};

// One web page in its view, on the named profile. The application's host runs the
// engine in a helper process of its own (RemoteAiWebHost.h), which ends with the host;
// the helper's own host of the engine is the only one in the same process as it. Main
// thread only.
class IAiWebHost {
public:
    enum class LoadStatus { Started, Succeeded, Stopped, Failed };
    // A download the page started: a link the user clicked (every link the user
    // activates becomes one; a navigation of the page's script is shown), or an answer
    // the engine cannot show (an Office file, an archive).
    struct Download {
        quint32 id = 0;
        QUrl url;
        QString mimeType;
        QString suggestedName; // from Content-Disposition or the address; may be ""
        bool fromLink = false;
    };
    struct DownloadUpdate {
        enum class State { Progress, Finished, Failed };
        quint32 id = 0;
        State state = State::Progress;
        qint64 received = 0;
        qint64 total = -1; // -1 while unknown
        QString path;      // where the file is (Finished)
        QString error;     // Failed
    };
    struct Callbacks {
        // Every change of a load; url is the page's address for that load.
        std::function<void(LoadStatus status, const QUrl &url, int errorCode, const QString &error)> loadingChanged;
        // After a main-frame load succeeded: the type the engine shows it as
        // ("text/html", "image/png"), so the owner may save it instead.
        std::function<void(const QUrl &url, const QString &mimeType)> mainFrameShown;
        // A script message of one of the names: the body as JSON text.
        std::function<void(const QString &name, const QString &json)> scriptMessage;
        // Where a download goes (a full path); "" refuses it.
        std::function<QString(const Download &download)> downloadDestination;
        std::function<void(const DownloadUpdate &update)> downloadChanged;
        // A page asks for a new window: none is ever opened inside; the owner decides.
        // userGesture: asked while handling the user's click or key.
        std::function<void(const QUrl &url, bool userGesture)> newWindowRequested;
        // A page's file input: the chosen files, none when cancelled, answered at once
        // (unset: a file dialog of the host's, one at a time, files only, several at
        // once where the input allows).
        std::function<QStringList(bool multiple)> chooseFiles;
        // The engine has gone (its process ended or stopped answering): the host shows
        // and runs nothing more. Said once, with why.
        std::function<void(const QString &why)> lost;
    };

    virtual ~IAiWebHost() = default;

    // The page's view; the host owns it (its owner may reparent it into a window).
    virtual QWidget *view() = 0;
    virtual void setCallbacks(Callbacks callbacks) = 0;
    virtual void load(const QUrl &url) = 0;
    virtual QUrl url() const = 0;
    // Runs a script in the page's main world; its result is dropped.
    virtual void runJavaScript(const QString &script) = 0;
    // Runs a script and hands its result over (tests and diagnostics).
    virtual void evaluate(const QString &script, std::function<void(const QVariant &)> result) = 0;
    // Fetches the address again as a download (not a link's) and, when the main frame
    // shows that address, goes back to the page before it.
    virtual void downloadInsteadOfShowing(const QUrl &url) = 0;
    // Whether the profile keeps nothing on disk.
    virtual bool isOffTheRecord() const = 0;
    // Removes all the profile's website data: cookies, caches, visited links, local
    // and session storage, IndexedDB.
    virtual void clearAllWebsiteData() = 0;
};

} // namespace platform
