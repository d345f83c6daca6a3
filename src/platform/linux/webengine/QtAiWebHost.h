#pragma once

#include "platform/IAiWebHost.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <memory>
#include <optional>

class QWebChannel;
class QWebEngineDownloadRequest;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace platform::linuxbackend {

// What pages reach of the application: one slot, which hands a script message's name
// and JSON body to the host. Every script on the page can call it, so it takes text
// only and the host checks the name.
class AiWebBridge : public QObject {
    Q_OBJECT
public:
    std::function<void(const QString &name, const QString &json)> received;

public slots:
    void post(const QString &name, const QString &json);
};

class AiWebPage;

// The AI page on QtWebEngine: a named, persistent profile (the default profile keeps
// nothing on disk, so logins would be lost at every start), the pages' user agent,
// and window.webkit.messageHandlers.<name>.postMessage over a web channel.
class QtAiWebHost final : public IAiWebHost {
public:
    explicit QtAiWebHost(const AiWebHostOptions &options);
    ~QtAiWebHost() override;

    QWidget *view() override;
    void setCallbacks(Callbacks callbacks) override;
    void load(const QUrl &url) override;
    QUrl url() const override;
    void runJavaScript(const QString &script) override;
    void evaluate(const QString &script, std::function<void(const QVariant &)> result) override;
    void downloadInsteadOfShowing(const QUrl &url) override;
    bool isOffTheRecord() const override;
    void clearAllWebsiteData() override;

    QWebEnginePage *page() const;

    // For the page: a link click about to become a download; a file input.
    void markLinkDownload(const QUrl &url);
    // The user's click on a link to `url`, told by the page's marker with linkMark();
    // takeUserLink says whether a navigation to `url` is the one it started.
    QString linkMark() const;
    void markUserLink(const QUrl &url);
    bool takeUserLink(const QUrl &url);
    // nullopt: the engine's own dialog.
    std::optional<QStringList> chooseFiles(bool multiple);

private:
    void downloadRequested(QWebEngineDownloadRequest *request);
    void reportShownType(const QUrl &url);

    void installScripts(const QStringList &names);

    AiWebHostOptions m_options;
    Callbacks m_callbacks;
    // Deleted in reverse: the view, then the page, then the profile the page stands on.
    std::unique_ptr<QWebEngineProfile> m_profile;
    std::unique_ptr<AiWebPage> m_page;
    std::unique_ptr<QWebEngineView> m_view;
    std::unique_ptr<QWebChannel> m_channel;
    AiWebBridge m_bridge;
    QList<QUrl> m_linkDownloads;
    QString m_linkMark;
    QList<QUrl> m_userLinks;
    QElapsedTimer m_userLinkClock; // since the last marked click
    bool m_wipeStorage = false;
};

} // namespace platform::linuxbackend
