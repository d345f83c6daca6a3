#pragma once

#include "platform/AiWebWire.h"

#include <QCborMap>
#include <QLocalSocket>
#include <QObject>
#include <QWidget>

#include <memory>

namespace platform::linuxbackend {

class QtAiWebHost;

// The helper's side of the link: makes the page when the companion says hello, runs
// what it is told and reports what the page does. The page's view is a window of its
// own that the companion embeds. The engine asks two questions that need an answer at
// once (where a download goes, which files an input gets): those wait in a local
// event loop for the companion's answer. Ends the process when the link goes, and
// when the page's renderer has gone (the companion then starts afresh).
class AiWebHelperServer : public QObject {
public:
    explicit AiWebHelperServer(const QString &socketPath);
    ~AiWebHelperServer() override;
    bool connectToCompanion();
    // Ends the page and gives the engine the moment it takes to write the profile's
    // last cookies and storage out.
    void shutDown();

private:
    void readCommands();
    void command(const QCborMap &m);
    void hello(const QCborMap &m);
    void send(const QString &kind, const QCborMap &fields);
    void sendReady();
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The companion's answer to `request`; nullopt when the link went first or, with
    // a timeout, when none came in time.
    std::optional<QCborMap> waitForAnswer(quint32 request, int timeoutMs);

    QString m_socketPath;
    QLocalSocket m_socket;
    aiwebwire::FrameReader m_reader;
    std::unique_ptr<QtAiWebHost> m_host;
    aiwebwire::AnswerBox m_answers;
    quint32 m_nextRequest = 1;
    WId m_sentWindow = 0;
};

} // namespace platform::linuxbackend
