#pragma once

#include "platform/AiWebWire.h"
#include "platform/IAiWebHost.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>

class QFileDialog;
class QLocalServer;
class QLocalSocket;
class QTemporaryDir;
struct xcb_connection_t;

namespace platform::linuxbackend {

// The AI page in the helper program qx-aiweb: started with the host, told to end with
// it, and its window embedded into the host's view. The two talk over a
// local socket in a folder only this user can open. Everything the helper says is
// checked before it is believed. A helper that ends, breaks the link or stops
// answering pings is lost: Callbacks::lost says why, once, and the host then shows
// and runs nothing (a new host starts a new helper). Main thread.
class RemoteAiWebHost final : public QObject, public IAiWebHost {
public:
    struct Launch {
        QString program; // "": qx-aiweb beside the program or where its modules are
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        int startTimeoutMs = 30000; // until the page's view is there
        int pingIntervalMs = 5000;
        int answerTimeoutMs = 15000; // each ping's answer
    };

    explicit RemoteAiWebHost(const AiWebHostOptions &options);
    RemoteAiWebHost(const AiWebHostOptions &options, Launch launch);
    ~RemoteAiWebHost() override;

    QWidget *view() override;
    void setCallbacks(Callbacks callbacks) override;
    void load(const QUrl &url) override;
    QUrl url() const override;
    void runJavaScript(const QString &script) override;
    void evaluate(const QString &script, std::function<void(const QVariant &)> result) override;
    void downloadInsteadOfShowing(const QUrl &url) override;
    bool isOffTheRecord() const override;
    void clearAllWebsiteData() override;

    // The helper's process id (0 before it started and after it is lost).
    qint64 helperPid() const;
    // Helpers started by any host that have not yet ended.
    static int liveHelpers();
    // For the end of the program: gives helpers whose hosts have gone up to `graceMs`
    // to write their profiles out and end, ends those that did not, and frees them.
    static void endHelpers(int graceMs = 3000);

private:
    void start(const AiWebHostOptions &options);
    void newConnection();
    void readEvents();
    void handle(const aiwebwire::HelperEvent &e);
    // False when the window is not taken in (gone already, or refused: then lost).
    bool embed(quint64 windowId);
    void fitEmbedded();
    void releaseEmbedded();
    static xcb_connection_t *x11();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void answerFiles(quint32 request, bool multiple);
    void answerChooser(quint32 request, const QStringList &files);
    // Whether a chooser was open; it is gone, unanswered.
    bool closeChooser();
    void send(const QString &kind, QCborMap fields = {});
    void lose(const QString &why);

    Launch m_launch;
    Callbacks m_callbacks;
    std::unique_ptr<QWidget> m_view;
    QPointer<QWidget> m_container;
    quint32 m_embedded = 0; // the helper's window, while it is a child of m_container
    std::unique_ptr<QTemporaryDir> m_dir;
    QLocalServer *m_server = nullptr;
    QLocalSocket *m_socket = nullptr;
    QPointer<QProcess> m_process; // deletes itself once the helper has ended
    aiwebwire::FrameReader m_reader{aiwebwire::kMaxEvent};
    QList<QByteArray> m_unsent; // until the helper has connected
    QUrl m_url;
    bool m_offTheRecord = false;
    bool m_lost = false;
    quint32 m_nextRequest = 1;
    QPointer<QFileDialog> m_chooser; // the page's file chooser while it is open
    quint32 m_chooserRequest = 0;
    std::map<quint32, std::function<void(const QVariant &)>> m_evaluations;
    QTimer m_startTimer;
    QTimer m_pingTimer;
    std::optional<quint32> m_pingOutstanding;
    QElapsedTimer m_pingSent;
};

// The application's AI page host: a RemoteAiWebHost with the default launch.
std::unique_ptr<IAiWebHost> createRemoteAiWebHost(const AiWebHostOptions &options);

} // namespace platform::linuxbackend
