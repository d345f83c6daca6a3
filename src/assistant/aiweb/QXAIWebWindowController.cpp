#include "aiweb/QXAIWebWindowController.h"

#include "DataPaths.h"
#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "PZString.h"
#include "QXUserInfoData.h"
#include "Scheduler.h"
#include "aiweb/AiDownloadFlow.h"
#include "aiweb/AiDownloadRules.h"
#include "aiweb/AiMessageHandler.h"
#include "aiweb/AiScriptBuilder.h"
#include "controls/QXButton.h"
#include "controls/QXSliderCell.h"
#include "controls/QXTextField.h"
#include "drawing/KitAppearance.h"
#include "platform/IClipboard.h"
#include "platform/IWorkspace.h"
#include "popup/VoiceArtwork.h"
#include "services/IAppShell.h"
#include "services/IPopupTips.h"
#include "services/LanguageHooks.h"

#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

// Outside any namespace: Q_INIT_RESOURCE names a global function.
static void initAiWebResources()
{
    Q_INIT_RESOURCE(ai_web);
}

namespace {

constexpr qint64 kNewWindowIntervalMs = 1000;

constexpr char kUserAgent[] = "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 (KHTML, like "
                              "Gecko) Version/14.1 Safari/605.1.15";

// Return in the question field is taken and sends nothing.
class ReturnSwallower : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

platform::AiWebHostOptions QXAIWebWindowController::webHostOptions()
{
    platform::AiWebHostOptions o;
    o.profileName = QStringLiteral("ai");
    o.storagePath = DataPaths::dataRoot() + QStringLiteral("/WebEngine/ai");
    o.userAgent = QString::fromLatin1(kUserAgent);
    // "downloadFile" stays unknown: it would fetch any address a page names.
    o.messageHandlerNames = {QStringLiteral("fileSelected"), QStringLiteral("iOS")};
    return o;
}

QXAIWebWindowController::QXAIWebWindowController(Deps deps) : m_deps(std::move(deps))
{
    initAiWebResources();
    buildWindow();
    AiDownloadFlow::Deps downloads;
    downloads.tips = m_deps.tips;
    downloads.files = m_deps.files;
    downloads.alerts = m_deps.alerts;
    downloads.documentsDir = DataPaths::dataRoot();
    downloads.tempDir = m_deps.downloadTempDir.isEmpty()
                            ? DataPaths::runtimeFolder(QStringLiteral("quorvex-ai-downloads"))
                            : m_deps.downloadTempDir;
    downloads.timeStamp = [] { return pz::getTimeStr(); };
    downloads.dialogParent = m_window.get();
    m_downloads = std::make_unique<AiDownloadFlow>(std::move(downloads));
    if (m_deps.makeHost)
        m_host = m_deps.makeHost(webHostOptions());
    if (m_host) {
        platform::IAiWebHost::Callbacks callbacks;
        callbacks.loadingChanged = [this](platform::IAiWebHost::LoadStatus status, const QUrl &url, int code,
                                          const QString &error) { loadingChanged(status, url, code, error); };
        callbacks.mainFrameShown = [this](const QUrl &url, const QString &mimeType) {
            // A file the engine would show (an image, Markdown) is saved like any other.
            if (!aiweb::isDownloadMimeType(mimeType))
                return;
            writeLog(QStringLiteral("AI page answer %1 is saved, not shown: %2").arg(mimeType, url.toString()));
            m_host->downloadInsteadOfShowing(url);
        };
        callbacks.scriptMessage = [this](const QString &name, const QString &json) { scriptMessage(name, json); };
        callbacks.downloadDestination = [this](const platform::IAiWebHost::Download &d) {
            return m_downloads->destination(d);
        };
        callbacks.downloadChanged = [this](const platform::IAiWebHost::DownloadUpdate &u) { m_downloads->changed(u); };
        callbacks.newWindowRequested = [this](const QUrl &url, bool userGesture) {
            newWindowRequested(url, userGesture);
        };
        callbacks.lost = [this](const QString &why) {
            writeLog(why);
            if (m_deps.tips)
                m_deps.tips->showTipMessage(hrvAppLocalizedString(QStringLiteral("AI页面意外退出，请重新打开")),
                                            QStringLiteral("error_icon"));
            if (m_deps.pageLost)
                m_deps.pageLost();
        };
        m_host->setCallbacks(std::move(callbacks));
        auto *layout = static_cast<QVBoxLayout *>(m_window->layout());
        layout->insertWidget(0, m_host->view(), 1);
    }
    // A new interface language titles the window and reloads the page in it.
    if (m_deps.notifications)
        m_deps.notifications->addObserver(QString::fromLatin1(qx::notify::kUpdateTitleNotification), m_window.get(),
                                          [this](const QVariant &) {
                                              configTitle();
                                              refresh();
                                          });
}

QXAIWebWindowController::~QXAIWebWindowController()
{
    m_host.reset();
    m_window.reset();
}

void QXAIWebWindowController::buildWindow()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(1000, 720);
    auto *layout = new QVBoxLayout(m_window.get());
    // The page starts 1 pt below the top edge.
    layout->setContentsMargins(0, 1, 0, 0);
    layout->setSpacing(0);
    m_bottomView = buildBottomBar();
    layout->addWidget(m_bottomView);
    m_bottomView->hide();
    configTitle();
}

void QXAIWebWindowController::configTitle()
{
    m_window->setWindowTitle(hrvAppLocalizedString(QStringLiteral("AI助手")));
    m_contextLabel->setText(hrvAppLocalizedString(QStringLiteral("关联上下文")));
    m_questionTextField->setPlaceholderText(hrvAppLocalizedString(QStringLiteral("请输入内容")));
}

QWidget *QXAIWebWindowController::buildBottomBar()
{
    auto *bar = new QWidget;
    bar->setFixedHeight(60);
    qxFillBackground(bar, QColor(211, 211, 211));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(20, 0, 20, 0);
    m_slider = new QXSliderCell(Qt::Horizontal);
    m_slider->setRange(14, 50);
    m_slider->setValue(14);
    m_slider->setFixedSize(100, 30);
    QObject::connect(m_slider, &QSlider::sliderReleased, m_window.get(), [this] { sliderDidEndDragging(); });
    row->addWidget(m_slider);
    row->addSpacing(40);
    m_contextLabel = new QLabel;
    m_contextLabel->setFont(qxSystemFont(16));
    row->addWidget(m_contextLabel);
    row->addSpacing(10);
    m_contextBtn = new QXButton;
    m_contextBtn->setCheckable(true);
    m_contextBtn->setFixedSize(39, 29);
    QObject::connect(m_contextBtn, &QXButton::clicked, m_window.get(), [this] { contextBtnClicked(); });
    row->addWidget(m_contextBtn);
    row->addSpacing(20);
    m_questionTextField = new QXTextField;
    m_questionTextField->setFont(qxSystemFont(14));
    m_questionTextField->installEventFilter(new ReturnSwallower(m_questionTextField));
    row->addWidget(m_questionTextField, 1);
    row->addSpacing(20);
    auto *send = new QXButton;
    send->setFixedSize(40, 40);
    QObject::connect(send, &QXButton::clicked, m_window.get(), [this] { sendBtnClicked(); });
    row->addWidget(send);
    row->addSpacing(20);
    auto *clear = new QXButton;
    clear->setFixedSize(40, 40);
    QObject::connect(clear, &QXButton::clicked, m_window.get(), [this] { clearBtnClicked(); });
    row->addWidget(clear);
    return bar;
}

AiPageInput QXAIWebWindowController::pageInput() const
{
    const QXUserInfoData &s = *m_deps.state;
    AiPageInput in;
    in.productCode = s.productCode();
    in.sno = s.sno();
    in.timeStamp = pz::getTimeStr();
    in.mac = m_deps.macAddress ? m_deps.macAddress() : pz::qx_getMacAddress();
    in.uiLanguageCode = currentUILanguageCode();
    in.chatGPTURL = s.chatGPTURL();
    in.webURL = s.webURL();
    in.serviceGPTS = s.serviceGPTS();
    in.isConfigAI = s.isConfigAI();
    in.appKey = s.appKey();
    in.chipToken = s.IFlytekChip_token().value_or(QString());
    return in;
}

void QXAIWebWindowController::initSubViews()
{
    if (m_deps.state->isDisableDevice() || m_isCompleteLoad)
        return;
    const AiPage page = aiweb::choosePage(pageInput(), m_deps.hosts);
    if (page.kind == AiPage::Kind::Maker || page.kind == AiPage::Kind::ProfileWebPage)
        writeLog(QStringLiteral("加载AI：%1").arg(page.text));
    if (m_host) {
        m_pageReady = false;
        m_saidScriptsDropped = false;
        m_host->load(page.url());
    }
    m_questionTextField->setPlaceholderText(hrvAppLocalizedString(QStringLiteral("请输入内容")));
    voiceartwork::showSwitch(m_contextBtn, true);
    m_didFallbackToEnglish = false;
    m_isCompleteLoad = true;
}

void QXAIWebWindowController::refresh()
{
    m_didFallbackToEnglish = false;
    m_isCompleteLoad = false;
    initSubViews();
}

void QXAIWebWindowController::loadingChanged(platform::IAiWebHost::LoadStatus status, const QUrl &url, int errorCode,
                                             const QString &error)
{
    using Status = platform::IAiWebHost::LoadStatus;
    switch (status) {
    case Status::Started:
        break;
    case Status::Succeeded:
        writeLog(QStringLiteral("webView:didFinishNavigation:%1").arg(url.toString()));
        if (!m_pageReady) {
            m_pageReady = true;
            const QStringList pending = std::exchange(m_pendingScripts, {});
            for (const QString &script : pending)
                m_host->runJavaScript(script);
        }
        break;
    case Status::Stopped:
        // A cancelled load: nothing to fall back from.
        writeLog(QStringLiteral("webView:didFailNavigation:withError:cancelled %1").arg(url.toString()));
        break;
    case Status::Failed:
        writeLog(QStringLiteral("webView:didFailNavigation:withError:%1 %2").arg(errorCode).arg(error));
        // The English page, when it comes, takes the waiting scripts.
        if (!reloadAIWebWithEnglishFallbackIfNeeded(url) && !m_pageReady && !m_pendingScripts.isEmpty()) {
            writeLog(QStringLiteral("AI page did not load: %1 script(s) for it dropped").arg(m_pendingScripts.size()));
            m_pendingScripts.clear();
        }
        break;
    }
}

bool QXAIWebWindowController::reloadAIWebWithEnglishFallbackIfNeeded(const QUrl &failedUrl)
{
    if (m_didFallbackToEnglish || !m_host)
        return false;
    const QString english = aiweb::englishFallback(currentUILanguageCode(), QString::fromUtf8(failedUrl.toEncoded()));
    if (english.isEmpty())
        return false;
    m_didFallbackToEnglish = true;
    writeLog(QStringLiteral("AI页本语言加载失败，英文兜底：%1").arg(english));
    m_host->load(QUrl::fromEncoded(english.toUtf8()));
    return true;
}

void QXAIWebWindowController::scriptMessage(const QString &name, const QString &json)
{
    const AiMessageAction action = aiweb::handleAiMessage(name, json);
    if (const auto line = m_messageLog.line(name, action.logLine, clock().monotonicMs()))
        writeLog(*line);
    switch (action.kind) {
    case AiMessageAction::Kind::None:
        break;
    case AiMessageAction::Kind::GoBack:
        if (m_deps.shell) {
            m_deps.shell->openApp();
            m_deps.shell->manualSelectedItemWithIndex(0);
        }
        break;
    case AiMessageAction::Kind::CopyToClipboard:
        if (m_deps.clipboard) {
            m_deps.clipboard->clear();
            m_deps.clipboard->setText(action.text);
        }
        break;
    case AiMessageAction::Kind::ClearClipboard:
        if (m_deps.clipboard)
            m_deps.clipboard->clear();
        break;
    case AiMessageAction::Kind::AnswerMicrophone:
        callJSFuncion(aiweb::microphonePermissionScript());
        break;
    }
}

const Clock &QXAIWebWindowController::clock() const
{
    return m_deps.clock ? *m_deps.clock : m_systemClock;
}

void QXAIWebWindowController::newWindowRequested(const QUrl &url, bool userGesture)
{
    writeLog(QStringLiteral("webView:createWebViewWithConfiguration:forNavigationAction:%1").arg(url.toString()));
    const aiweb::OutsideLink link = aiweb::outsideLink(url, m_deps.deviceHost);
    if (link.kind == aiweb::OutsideLink::Kind::Nothing)
        return;
    // A page that opens windows on its own (or a helper that says the user asked for
    // every one) would launch the browser over and over.
    const qint64 now = clock().monotonicMs();
    if (!userGesture || (m_newWindowTaken && now - m_lastNewWindowMs < kNewWindowIntervalMs)) {
        if (!std::exchange(m_refusingNewWindows, true))
            writeLog(QStringLiteral("AI page's new window refused (%1): %2")
                         .arg(userGesture ? QStringLiteral("more than one a second") : QStringLiteral("not the user's"),
                              url.toString()));
        return;
    }
    m_refusingNewWindows = false;
    m_newWindowTaken = true;
    m_lastNewWindowMs = now;
    switch (link.kind) {
    case aiweb::OutsideLink::Kind::Nothing:
        break;
    case aiweb::OutsideLink::Kind::DevicePage:
        if (!m_deps.state->isConnect() && m_deps.tips)
            m_deps.tips->showTipMessage(hrvAppLocalizedString(QStringLiteral("设备未连接")),
                                        QStringLiteral("info_icon"));
        if (m_deps.shell) {
            m_deps.shell->openApp();
            m_deps.shell->manualSelectedItemWithIndex(0);
        }
        break;
    case aiweb::OutsideLink::Kind::Browser:
        if (m_deps.workspace)
            m_deps.workspace->openUrl(link.url);
        break;
    }
}

void QXAIWebWindowController::callJSFuncion(const QString &script)
{
    if (!m_host)
        return;
    if (!m_pageReady) {
        // A product without an AI page loads none: nothing would ever run them.
        const bool noPage = m_deps.state->isDisableDevice();
        if (noPage || m_pendingScripts.size() >= kMaxPendingScripts) {
            if (!std::exchange(m_saidScriptsDropped, true))
                writeLog(
                    noPage
                        ? QStringLiteral("the product has no AI page: scripts for it are dropped")
                        : QStringLiteral("AI page still loading: scripts past %1 are dropped").arg(kMaxPendingScripts));
            if (noPage)
                m_pendingScripts.clear();
            return;
        }
        m_pendingScripts << script;
        return;
    }
    m_host->runJavaScript(script);
}

void QXAIWebWindowController::requestChatGPT(const QString &text)
{
    callJSFuncion(aiweb::sendScript(aiweb::productNumber(m_deps.state->productCode()), text, m_deps.state->sno(),
                                    pz::getTimeStr()));
    m_questionTextField->clear();
}

void QXAIWebWindowController::requestChatGPTWithHelperID(const QString &helperId, const QString &text)
{
    m_deps.state->setKeyAction(18);
    callJSFuncion(aiweb::helperInputScript(helperId, text));
}

void QXAIWebWindowController::sendBtnClicked()
{
    requestChatGPT(m_questionTextField->text());
}

void QXAIWebWindowController::sliderDidEndDragging()
{
    callJSFuncion(aiweb::fontSizeScript(m_slider->value()));
}

void QXAIWebWindowController::contextBtnClicked()
{
    voiceartwork::showSwitch(m_contextBtn, m_contextBtn->isChecked());
    callJSFuncion(aiweb::switchScript(m_contextBtn->isChecked()));
}

void QXAIWebWindowController::clearBtnClicked()
{
    callJSFuncion(aiweb::clearBoxScript());
}
