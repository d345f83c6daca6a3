#include "aiweb/QXAIWindowTool.h"

#include "PZLog.h"
#include "QXUserInfoData.h"
#include "desktop/WindowPlacement.h"
#include "services/IAppShell.h"
#include "services/IMouseCommands.h"
#include "services/IVoiceKeyDispatcher.h"
#include "services/VoiceKeyState.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QThread>
#include <QWidget>

namespace {
constexpr int kHideDelayMs = 1000;
constexpr int kTypingKeyDown = 33;
constexpr int kTypingKeyUp = 34;
} // namespace

QXAIWindowTool::QXAIWindowTool(Deps deps) : m_deps(std::move(deps))
{
    Q_ASSERT(m_deps.scheduler);
}

void QXAIWindowTool::setWindowPorts(IAppShell *shell, FilePicker *files, AlertPresenter *alerts)
{
    m_deps.shell = [shell] { return shell; };
    m_deps.files = files;
    m_deps.alerts = alerts;
    // A window made with the old ones goes.
    dropWebWindow();
}

QXAIWindowTool::~QXAIWindowTool()
{
    cancelTimer(scheduler(), m_hideTimer);
    m_webWindow.reset();
    m_lostWebWindow.reset();
}

Scheduler &QXAIWindowTool::scheduler() const
{
    return *m_deps.scheduler;
}

void QXAIWindowTool::setShown(bool on)
{
    if (IAppShell *shell = m_deps.shell ? m_deps.shell() : nullptr)
        shell->setIsShowAIWindow(on);
}

QXAIWebWindowController &QXAIWindowTool::ensureWebWindow()
{
    if (!m_webWindow) {
        QXAIWebWindowController::Deps deps;
        deps.state = m_deps.state;
        deps.clipboard = m_deps.clipboard;
        deps.shell = m_deps.shell ? m_deps.shell() : nullptr;
        deps.notifications = m_deps.notifications;
        deps.makeHost = m_deps.makeHost;
        deps.hosts = m_deps.hosts;
        deps.tips = m_deps.tips;
        deps.files = m_deps.files;
        deps.alerts = m_deps.alerts;
        deps.workspace = m_deps.workspace;
        deps.deviceHost = m_deps.deviceHost;
        deps.downloadTempDir = m_deps.downloadTempDir;
        deps.clock = &scheduler().clock();
        deps.pageLost = [this] {
            // Called from inside the host: the window goes at once, the host after it
            // has returned; the next show makes a new one.
            setShown(false);
            leaveWebWindowFullScreen();
            cancelTimer(scheduler(), m_hideTimer);
            m_webWindow->window()->removeEventFilter(this);
            m_webWindow->window()->hide();
            m_lostWebWindow = std::move(m_webWindow);
            scheduler().singleShot(
                0, [this] { m_lostWebWindow.reset(); }, this);
        };
        m_webWindow = std::make_unique<QXAIWebWindowController>(std::move(deps));
        m_webWindow->window()->installEventFilter(this);
    }
    return *m_webWindow;
}

void QXAIWindowTool::dropWebWindow()
{
    cancelTimer(scheduler(), m_hideTimer);
    if (!m_webWindow)
        return;
    m_webWindow->window()->removeEventFilter(this);
    m_webWindow.reset();
}

bool QXAIWindowTool::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close && m_webWindow && watched == m_webWindow->window()) {
        // Closed by the user: the flag now, the engine once the close has been handled.
        setShown(false);
        cancelTimer(scheduler(), m_hideTimer);
        m_hideTimer = scheduler().singleShot(
            0,
            [this] {
                m_hideTimer = Scheduler::kNoTimer;
                dropWebWindow();
            },
            this);
    }
    return QObject::eventFilter(watched, event);
}

void QXAIWindowTool::showInWindow()
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this] { showInWindow(); }, Qt::QueuedConnection);
        return;
    }
    // A hide still pending from a moment ago must not take the window away again.
    cancelTimer(scheduler(), m_hideTimer);
    QXAIWebWindowController &web = ensureWebWindow();
    web.initSubViews();
    QWidget *window = web.window();
    if (!window->isVisible())
        windowplacement::centreOnPointerScreen(*window);
    window->show();
    window->raise();
    window->activateWindow();
    setShown(true);
}

void QXAIWindowTool::hiddenWindow()
{
    setShown(false);
    if (!m_webWindow)
        return;
    leaveWebWindowFullScreen();
    cancelTimer(scheduler(), m_hideTimer);
    m_hideTimer = scheduler().singleShot(
        kHideDelayMs,
        [this] {
            m_hideTimer = Scheduler::kNoTimer;
            if (m_webWindow)
                m_webWindow->window()->hide();
            dropWebWindow();
        },
        this);
}

void QXAIWindowTool::requestChatGPT(const QString &text)
{
    if (!m_helperid.isEmpty() && !text.isEmpty()) {
        const QString helper = m_helperid;
        showInWindow();
        m_webWindow->requestChatGPTWithHelperID(helper, text);
    } else if (m_webWindow) {
        m_webWindow->requestChatGPT(text);
    } else {
        qxInfo("ai") << "no AI page open; the question is dropped";
    }
    m_helperid.clear();
}

void QXAIWindowTool::requestChatGPT(const QString &helperId, const QString &content)
{
    m_helperid = helperId;
    m_deps.state->setKeyAction(18);
    showInWindow();
    m_webWindow->requestChatGPTWithHelperID(helperId, content);
}

void QXAIWindowTool::requestChatGPT(const QString &helperId, const QString &, bool isOpenMic)
{
    m_helperid = helperId;
    m_deps.state->setKeyAction(18);
    showInWindow();
    VoiceKeyState &keys = *m_deps.keys;
    // Another voice key (search, translation) holds the voice input.
    if (keys.lastPressType() != 0 && keys.lastPressType() != kTypingKeyDown)
        return;
    IMouseCommands *mouse = m_deps.mouseCommands ? m_deps.mouseCommands() : nullptr;
    if (keys.hadStart()) {
        keys.setLastPressType(0);
        if (mouse)
            mouse->sendCloseMicData();
        m_deps.voice->hidCallbackType(kTypingKeyUp);
    } else if (isOpenMic) {
        keys.setLastPressType(kTypingKeyDown);
        if (mouse)
            mouse->sendOpenMicData();
        m_deps.voice->hidCallbackType(kTypingKeyDown);
    }
    // A key release with no input running has nothing to end and starts nothing.
}

void QXAIWindowTool::initSubViews()
{
    // The page is chosen anew for the next show: a hidden window keeps no engine.
    setShown(false);
    if (m_webWindow)
        m_webWindow->window()->hide();
    dropWebWindow();
}

void QXAIWindowTool::refresh()
{
    if (m_webWindow)
        m_webWindow->refresh();
}

void QXAIWindowTool::clearAllWebsiteData()
{
    if (m_webWindow && m_webWindow->aiWebView()) {
        m_webWindow->aiWebView()->clearAllWebsiteData();
        return;
    }
    // No engine runs: the profile's folder is all there is.
    QDir(QXAIWebWindowController::webHostOptions().storagePath).removeRecursively();
}

bool QXAIWindowTool::isWebWindowFullScreen() const
{
    return m_webWindow && m_webWindow->window()->isFullScreen();
}

void QXAIWindowTool::leaveWebWindowFullScreen()
{
    if (isWebWindowFullScreen())
        m_webWindow->window()->showNormal();
}
