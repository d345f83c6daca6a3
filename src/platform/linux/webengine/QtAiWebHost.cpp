#include "QtAiWebHost.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>
#include <QWebChannel>
#include <QWebEngineCookieStore>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace platform::linuxbackend {

void AiWebBridge::post(const QString &name, const QString &json)
{
    if (received)
        received(name, json);
}

// Links the user activates become downloads; file inputs ask the owner.
class AiWebPage : public QWebEnginePage {
public:
    AiWebPage(QWebEngineProfile *profile, QtAiWebHost &host) : QWebEnginePage(profile), m_host(host) {}

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        // The engine calls a navigation the page's script makes a link click too: only
        // one the user's click marked is taken as one.
        if (type == NavigationTypeLinkClicked && m_host.takeUserLink(url)) {
            m_host.markLinkDownload(url);
            download(url);
            return false;
        }
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    }
    bool javaScriptPrompt(const QUrl &origin, const QString &message, const QString &value, QString *result) override
    {
        if (message == m_host.linkMark()) {
            m_host.markUserLink(QUrl(value));
            return false;
        }
        return QWebEnginePage::javaScriptPrompt(origin, message, value, result);
    }
    QStringList chooseFiles(FileSelectionMode mode, const QStringList &old, const QStringList &types) override
    {
        if (const auto files = m_host.chooseFiles(mode == FileSelectOpenMultiple))
            return *files;
        return QWebEnginePage::chooseFiles(mode, old, types);
    }

private:
    QtAiWebHost &m_host;
};

namespace {

// window.webkit.messageHandlers.<name>.postMessage(body) over the web channel. The
// channel comes up asynchronously, after a page's first inline scripts may already
// have posted: those messages wait in order until it is ready.
constexpr char kShim[] = R"JS(
(function () {
    if (window.__qxMessageHandlers) return;
    var names = %1;
    var queue = [];
    var bridge = null;
    function send(name, body) {
        var json;
        try { json = JSON.stringify(body === undefined ? null : body); } catch (e) { return; }
        if (json === undefined) json = 'null';
        if (bridge) bridge.post(name, json); else queue.push([name, json]);
    }
    var handlers = {};
    names.forEach(function (name) {
        handlers[name] = { postMessage: function (body) { send(name, body); } };
    });
    window.__qxMessageHandlers = handlers;
    window.webkit = window.webkit || {};
    window.webkit.messageHandlers = handlers;
    var tries = 0;
    function connect() {
        if (typeof qt === 'undefined' || !qt.webChannelTransport || typeof QWebChannel === 'undefined') {
            if (++tries < 200) setTimeout(connect, 10);
            return;
        }
        new QWebChannel(qt.webChannelTransport, function (channel) {
            bridge = channel.objects.qxBridge;
            var pending = queue;
            queue = [];
            pending.forEach(function (m) { bridge.post(m[0], m[1]); });
        });
    }
    connect();
})();
)JS";

// The user's click on a link, told to the host before the engine asks about the
// navigation it starts. It runs in a world of the application's, whose functions the
// page's scripts can neither reach nor replace, and a prompt is answered before the
// page goes on; the text it carries is known to this world alone. A script's click()
// is not trusted, so it marks nothing.
constexpr char kLinkMarker[] = R"JS(
(function () {
    var mark = '%1';
    window.addEventListener('click', function (e) {
        if (!e.isTrusted || !e.target || !e.target.closest) return;
        var link = e.target.closest('a[href], area[href]');
        if (link && typeof link.href === 'string') window.prompt(mark, link.href);
    }, true);
})();
)JS";

// How long a marked click waits for its navigation.
constexpr qint64 kUserLinkMs = 2000;

QWebEngineScript documentCreationScript(const QString &name, const QString &source,
                                        quint32 world = QWebEngineScript::MainWorld)
{
    QWebEngineScript script;
    script.setName(name);
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(world);
    // Every frame of the page sees the handlers, as a page expects.
    script.setRunsOnSubFrames(true);
    return script;
}

constexpr char kClearStorage[] = R"JS(
(function () {
    try { localStorage.clear(); } catch (e) {}
    try { sessionStorage.clear(); } catch (e) {}
    try {
        indexedDB.databases().then(function (all) {
            all.forEach(function (db) { indexedDB.deleteDatabase(db.name); });
        });
    } catch (e) {}
})();
)JS";

IAiWebHost::LoadStatus statusOf(QWebEngineLoadingInfo::LoadStatus s)
{
    switch (s) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        return IAiWebHost::LoadStatus::Started;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        return IAiWebHost::LoadStatus::Succeeded;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        return IAiWebHost::LoadStatus::Stopped;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        break;
    }
    return IAiWebHost::LoadStatus::Failed;
}

} // namespace

QtAiWebHost::QtAiWebHost(const AiWebHostOptions &options)
    : m_options(options), m_linkMark(QUuid::createUuid().toString(QUuid::Id128))
{
    m_profile = std::make_unique<QWebEngineProfile>(options.profileName);
    if (!options.storagePath.isEmpty()) {
        m_profile->setPersistentStoragePath(options.storagePath);
        m_profile->setCachePath(options.storagePath + QStringLiteral("/Cache"));
    }
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    if (!options.userAgent.isEmpty())
        m_profile->setHttpUserAgent(options.userAgent);
    QWebEngineSettings *settings = m_profile->settings();
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);

    m_page = std::make_unique<AiWebPage>(m_profile.get(), *this);
    m_channel = std::make_unique<QWebChannel>();
    m_channel->registerObject(QStringLiteral("qxBridge"), &m_bridge);
    m_page->setWebChannel(m_channel.get(), QWebEngineScript::MainWorld);
    installScripts(options.messageHandlerNames);
    m_bridge.received = [this](const QString &name, const QString &json) {
        // Only the names the pages were given; the slot itself is open to any script.
        if (!m_options.messageHandlerNames.contains(name) || !m_callbacks.scriptMessage)
            return;
        m_callbacks.scriptMessage(name, json);
    };
    QObject::connect(
        m_page.get(), &QWebEnginePage::loadingChanged, m_page.get(), [this](const QWebEngineLoadingInfo &info) {
            if (m_callbacks.loadingChanged)
                m_callbacks.loadingChanged(statusOf(info.status()), info.url(), info.errorCode(), info.errorString());
            if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
                reportShownType(info.url());
        });

    QObject::connect(m_page.get(), &QWebEnginePage::newWindowRequested, m_page.get(),
                     [this](QWebEngineNewWindowRequest &request) {
                         // Never openIn(): no page opens inside the application.
                         if (m_callbacks.newWindowRequested)
                             m_callbacks.newWindowRequested(request.requestedUrl(), request.isUserInitiated());
                     });
    QObject::connect(m_profile.get(), &QWebEngineProfile::downloadRequested, m_page.get(),
                     [this](QWebEngineDownloadRequest *request) { downloadRequested(request); });

    m_view = std::make_unique<QWebEngineView>();
    m_view->setPage(m_page.get());
}

QtAiWebHost::~QtAiWebHost()
{
    m_view.reset();
    m_page.reset();
    m_channel.reset();
    m_profile.reset();
    if (m_wipeStorage && !m_options.storagePath.isEmpty())
        for (const char *folder : {"Local Storage", "Session Storage", "IndexedDB", "databases", "Service Worker",
                                   "File System", "blob_storage"})
            QDir(m_options.storagePath + QLatin1Char('/') + QLatin1String(folder)).removeRecursively();
}

QWebEnginePage *QtAiWebHost::page() const
{
    return m_page.get();
}

void QtAiWebHost::installScripts(const QStringList &names)
{
    QFile channelJs(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    QString channelSource;
    if (channelJs.open(QIODevice::ReadOnly))
        channelSource = QString::fromUtf8(channelJs.readAll());
    else
        qWarning("[aiweb] qwebchannel.js is missing; the AI pages cannot post messages");
    const QString nameList =
        QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(names)).toJson(QJsonDocument::Compact));
    QWebEngineScriptCollection &scripts = m_page->scripts();
    scripts.insert(documentCreationScript(QStringLiteral("qx-webchannel"), channelSource));
    scripts.insert(
        documentCreationScript(QStringLiteral("qx-message-handlers"), QString::fromLatin1(kShim).arg(nameList)));
    scripts.insert(documentCreationScript(QStringLiteral("qx-link-marker"),
                                          QString::fromLatin1(kLinkMarker).arg(m_linkMark),
                                          QWebEngineScript::ApplicationWorld));
}

void QtAiWebHost::reportShownType(const QUrl &url)
{
    // Asked in a world of its own: the page's scripts cannot change what it says.
    m_page->runJavaScript(QStringLiteral("document.contentType"), QWebEngineScript::ApplicationWorld,
                          [this, url](const QVariant &type) {
                              if (type.typeId() == QMetaType::QString && m_callbacks.mainFrameShown)
                                  m_callbacks.mainFrameShown(url, type.toString());
                          });
}

void QtAiWebHost::downloadInsteadOfShowing(const QUrl &url)
{
    m_page->download(url);
    // By index: the engine's Back skips a page that navigated away by script without
    // the user's click, which is how such an answer is mostly reached.
    QWebEngineHistory *history = m_page->history();
    if (m_page->url() == url && history->currentItemIndex() > 0)
        history->goToItem(history->itemAt(history->currentItemIndex() - 1));
}

void QtAiWebHost::markLinkDownload(const QUrl &url)
{
    m_linkDownloads << url;
}

QString QtAiWebHost::linkMark() const
{
    return m_linkMark;
}

void QtAiWebHost::markUserLink(const QUrl &url)
{
    if (!url.isValid())
        return;
    if (!m_userLinkClock.isValid() || m_userLinkClock.elapsed() > kUserLinkMs)
        m_userLinks.clear();
    m_userLinkClock.start();
    // A click the page turned into no navigation marks nothing for long.
    if (m_userLinks.size() >= 8)
        m_userLinks.removeFirst();
    m_userLinks << url;
}

bool QtAiWebHost::takeUserLink(const QUrl &url)
{
    if (!m_userLinkClock.isValid() || m_userLinkClock.elapsed() > kUserLinkMs) {
        m_userLinks.clear();
        return false;
    }
    return m_userLinks.removeOne(url);
}

std::optional<QStringList> QtAiWebHost::chooseFiles(bool multiple)
{
    if (!m_callbacks.chooseFiles)
        return std::nullopt;
    return m_callbacks.chooseFiles(multiple);
}

void QtAiWebHost::downloadRequested(QWebEngineDownloadRequest *request)
{
    Download d;
    d.id = request->id();
    d.url = request->url();
    d.mimeType = request->mimeType();
    d.suggestedName = request->suggestedFileName();
    d.fromLink = m_linkDownloads.removeOne(request->url());
    const QString path = m_callbacks.downloadDestination ? m_callbacks.downloadDestination(d) : QString();
    if (path.isEmpty()) {
        request->cancel();
        return;
    }
    const QFileInfo target(path);
    request->setDownloadDirectory(target.absolutePath());
    request->setDownloadFileName(target.fileName());
    auto report = [this, request](DownloadUpdate::State state) {
        DownloadUpdate u;
        u.id = request->id();
        u.state = state;
        u.received = request->receivedBytes();
        u.total = request->totalBytes();
        u.path = QDir(request->downloadDirectory()).filePath(request->downloadFileName());
        u.error = request->interruptReasonString();
        if (m_callbacks.downloadChanged)
            m_callbacks.downloadChanged(u);
    };
    QObject::connect(request, &QWebEngineDownloadRequest::receivedBytesChanged, m_page.get(),
                     [report] { report(DownloadUpdate::State::Progress); });
    QObject::connect(request, &QWebEngineDownloadRequest::isFinishedChanged, m_page.get(), [request, report] {
        if (!request->isFinished())
            return;
        report(request->state() == QWebEngineDownloadRequest::DownloadCompleted ? DownloadUpdate::State::Finished
                                                                                : DownloadUpdate::State::Failed);
    });
    request->accept();
}

QWidget *QtAiWebHost::view()
{
    return m_view.get();
}

void QtAiWebHost::setCallbacks(Callbacks callbacks)
{
    m_callbacks = std::move(callbacks);
}

void QtAiWebHost::load(const QUrl &url)
{
    m_page->load(url);
}

QUrl QtAiWebHost::url() const
{
    return m_page->url();
}

void QtAiWebHost::runJavaScript(const QString &script)
{
    m_page->runJavaScript(script, QWebEngineScript::MainWorld);
}

void QtAiWebHost::evaluate(const QString &script, std::function<void(const QVariant &)> result)
{
    m_page->runJavaScript(script, QWebEngineScript::MainWorld,
                          [result = std::move(result)](const QVariant &v) { result(v); });
}

bool QtAiWebHost::isOffTheRecord() const
{
    return m_profile->isOffTheRecord();
}

void QtAiWebHost::clearAllWebsiteData()
{
    m_profile->clearHttpCache();
    m_profile->clearAllVisitedLinks();
    if (auto *cookies = m_profile->cookieStore())
        cookies->deleteAllCookies();
    // The engine has no call for the storage of every site: the page's own is emptied
    // now, and the folders of all of them once the profile has let go of them.
    m_page->runJavaScript(QString::fromLatin1(kClearStorage), QWebEngineScript::ApplicationWorld);
    m_wipeStorage = true;
}

} // namespace platform::linuxbackend
