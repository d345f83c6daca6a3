#pragma once

#include "Scheduler.h"
#include "aiweb/AiMessageHandler.h"
#include "aiweb/AiPageUrlBuilder.h"
#include "platform/IAiWebHost.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class AiDownloadFlow;
class AlertPresenter;
class Clock;
class FilePicker;
class IAppShell;
class IPopupTips;
class NotificationCenter;
class QLabel;
class QLineEdit;
class QSlider;
class QWidget;
class QXButton;
class QXUserInfoData;

namespace platform {
class IClipboard;
class IWorkspace;
} // namespace platform

// The AI web window: the assistant page the connected product calls for, the scripts
// that hand it questions and helper input, and the script messages it posts back.
// The web engine behind it is made with this object and goes with it; the holder
// makes it when the AI window first opens. The bottom bar (font size, context switch,
// question field) is built but hidden, as the pages bring their own. Main thread.
class QXAIWebWindowController final {
public:
    using HostFactory = std::function<std::unique_ptr<platform::IAiWebHost>(const platform::AiWebHostOptions &)>;
    struct Deps {
        QXUserInfoData *state = nullptr;
        platform::IClipboard *clipboard = nullptr;
        IAppShell *shell = nullptr;
        NotificationCenter *notifications = nullptr; // a new interface language reloads the page
        HostFactory makeHost;                        // nullptr from it: a window without a page
        AiPageHosts hosts;
        std::function<QString()> macAddress; // empty: qx_getMacAddress
        const Clock *clock = nullptr;        // script messages' log and new windows' rate; nullptr: the system's
        // Downloads and outside links.
        IPopupTips *tips = nullptr;
        FilePicker *files = nullptr;
        AlertPresenter *alerts = nullptr;
        platform::IWorkspace *workspace = nullptr;
        QString deviceHost;      // the maker's web site host, whose "/device" pages open the main window
        QString downloadTempDir; // "": "quorvex-ai-downloads" in the user's runtime folder (else the caches)
        // The page's engine has gone (said once, after the log line and the tip): the
        // owner takes the window away; the next one starts afresh.
        std::function<void()> pageLost;
    };

    // The profile, user agent and message names every AI page is given.
    static platform::AiWebHostOptions webHostOptions();

    explicit QXAIWebWindowController(Deps deps);
    ~QXAIWebWindowController();
    QXAIWebWindowController(const QXAIWebWindowController &) = delete;
    QXAIWebWindowController &operator=(const QXAIWebWindowController &) = delete;

    QWidget *window() const { return m_window.get(); }
    platform::IAiWebHost *aiWebView() const { return m_host.get(); }

    // Chooses and loads the page, once until refresh (nothing for products without AI pages).
    void initSubViews();
    void refresh();
    bool isCompleteLoad() const { return m_isCompleteLoad; }
    void setIsCompleteLoad(bool on) { m_isCompleteLoad = on; }
    bool aiWebDidFallbackToEnglish() const { return m_didFallbackToEnglish; }

    // Runs at once on a loaded page; before its first successful load, queued in order
    // until it has loaded (dropped if it fails), up to a bound. Dropped at once for a
    // product that has no AI page.
    void callJSFuncion(const QString &script);
    // Sends a question through the page's send function and empties the question field.
    void requestChatGPT(const QString &text);
    void requestChatGPTWithHelperID(const QString &helperId, const QString &text);

    // The bottom bar's actions.
    void sendBtnClicked();
    void sliderDidEndDragging();
    void contextBtnClicked();
    void clearBtnClicked();
    QSlider *slider() const { return m_slider; }
    QXButton *contextBtn() const { return m_contextBtn; }
    QLineEdit *questionTextField() const { return m_questionTextField; }
    QWidget *bottomView() const { return m_bottomView; }

private:
    void buildWindow();
    QWidget *buildBottomBar();
    void configTitle();
    AiPageInput pageInput() const;
    void loadingChanged(platform::IAiWebHost::LoadStatus status, const QUrl &url, int errorCode, const QString &error);
    // Whether an English load was started.
    bool reloadAIWebWithEnglishFallbackIfNeeded(const QUrl &failedUrl);
    void scriptMessage(const QString &name, const QString &json);
    void newWindowRequested(const QUrl &url, bool userGesture);
    const Clock &clock() const;

    Deps m_deps;
    bool m_isCompleteLoad = false;
    bool m_didFallbackToEnglish = false;
    // Scripts wait for the page's first successful load: run against the blank page
    // that is there until then, they would find none of the page's functions.
    bool m_pageReady = false;
    static constexpr int kMaxPendingScripts = 64;
    QStringList m_pendingScripts;
    // New windows: only at the user's click, one a second at most; a refusal is said
    // once until one is let through again.
    qint64 m_lastNewWindowMs = 0;
    bool m_newWindowTaken = false;
    bool m_refusingNewWindows = false;
    bool m_saidScriptsDropped = false;
    aiweb::ScriptMessageLog m_messageLog;
    SystemClock m_systemClock;
    std::unique_ptr<QWidget> m_window;
    // Made after the window and destroyed before it: the page's view sits in the window.
    std::unique_ptr<AiDownloadFlow> m_downloads;
    std::unique_ptr<platform::IAiWebHost> m_host;
    QWidget *m_bottomView = nullptr;
    QSlider *m_slider = nullptr;
    QLabel *m_contextLabel = nullptr;
    QXButton *m_contextBtn = nullptr;
    QLineEdit *m_questionTextField = nullptr;
};
