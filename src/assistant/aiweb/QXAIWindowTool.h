#pragma once

#include "Scheduler.h"
#include "aiweb/QXAIWebWindowController.h"
#include "services/IAIWindow.h"

#include <QObject>

#include <functional>
#include <memory>

class IAppShell;
class IMouseCommands;
class NotificationCenter;
class IVoiceKeyDispatcher;
class QXUserInfoData;
class VoiceKeyState;

// The one way into the AI assistant: shows and hides the AI web window, hands it the
// recognised text and the AI keys' helper input, and toggles the voice input of the
// AI keys that take voice. The web window (and the web engine under it) is made when
// it first shows and goes when it has been hidden or closed, so a run that never
// opens it never pays for it. The main window's isShowAIWindow is written here only,
// on every path that shows or hides the window. Main thread, except showInWindow.
class QXAIWindowTool final : public QObject, public IAIWindow {
public:
    struct Deps {
        QXUserInfoData *state = nullptr;
        VoiceKeyState *keys = nullptr;
        IVoiceKeyDispatcher *voice = nullptr;
        // Built after this holder: looked up on use.
        std::function<IMouseCommands *()> mouseCommands;
        std::function<IAppShell *()> shell;
        platform::IClipboard *clipboard = nullptr;
        Scheduler *scheduler = nullptr; // required
        NotificationCenter *notifications = nullptr;
        QXAIWebWindowController::HostFactory makeHost;
        AiPageHosts hosts;
        IPopupTips *tips = nullptr;
        FilePicker *files = nullptr;
        AlertPresenter *alerts = nullptr;
        platform::IWorkspace *workspace = nullptr;
        QString deviceHost;
        QString downloadTempDir;
    };

    explicit QXAIWindowTool(Deps deps);
    // The shell's parts, which are built after this holder; nullptr members unplug them.
    void setWindowPorts(IAppShell *shell, FilePicker *files, AlertPresenter *alerts);
    ~QXAIWindowTool() override;

    void showInWindow() override;
    void hiddenWindow() override;
    void requestChatGPT(const QString &text) override;
    void requestChatGPT(const QString &helperId, const QString &content) override;
    void requestChatGPT(const QString &helperId, const QString &content, bool isOpenMic) override;
    void initSubViews() override;
    void refresh() override;
    void clearAllWebsiteData() override;
    bool isWebWindowFullScreen() const override;
    void leaveWebWindowFullScreen() override;

    QString helperid() const { return m_helperid; }
    // The web window while it exists.
    QXAIWebWindowController *webWindow() const { return m_webWindow.get(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QXAIWebWindowController &ensureWebWindow();
    void setShown(bool on);
    void dropWebWindow();
    Scheduler &scheduler() const;

    Deps m_deps;
    QString m_helperid;
    std::unique_ptr<QXAIWebWindowController> m_webWindow;
    std::unique_ptr<QXAIWebWindowController> m_lostWebWindow; // until its host has returned
    Scheduler::TimerId m_hideTimer = Scheduler::kNoTimer;
};
