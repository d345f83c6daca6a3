#include "LocalSpeechServer.h"

#include "Scheduler.h"

#include <QJsonDocument>
#include <QTest>
#include <QWebSocketCorsAuthenticator>
#include <QWebSocketServer>

LocalSpeechServer::Say LocalSpeechServer::reply(const QString &type, const QString &text, int status)
{
    const QJsonObject o{{"status", status}, {"data", QJsonObject{{"text", text}, {"type", type}}}};
    return {Say::Text, QJsonDocument(o).toJson(QJsonDocument::Compact)};
}

LocalSpeechServer::LocalSpeechServer(QObject *parent)
    : QObject(parent), m_server(new QWebSocketServer("LocalSpeechServer", QWebSocketServer::NonSecureMode, this))
{
    connect(m_server, &QWebSocketServer::originAuthenticationRequired, this,
            [this](QWebSocketCorsAuthenticator *auth) { auth->setAllowed(!m_refuse); });
    connect(m_server, &QWebSocketServer::newConnection, this, [this] {
        while (QWebSocket *client = m_server->nextPendingConnection()) {
            client->setParent(this);
            m_client = client;
            m_connectionFrames = 0;
            requestUrls << client->requestUrl();
            connect(client, &QWebSocket::textMessageReceived, this,
                    [this, client](const QString &message) { received(client, message); });
            connect(client, &QWebSocket::disconnected, client, &QObject::deleteLater);
        }
    });
    m_server->listen(QHostAddress::LocalHost, 0);
}

QString LocalSpeechServer::base() const
{
    return QStringLiteral("ws://127.0.0.1:%1").arg(m_server->serverPort());
}

void LocalSpeechServer::received(QWebSocket *client, const QString &message)
{
    SpeechFrame f;
    f.json = QJsonDocument::fromJson(message.toUtf8()).object();
    const auto content =
        QByteArray::fromBase64Encoding(f.value("content").toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    f.content = content.decoded;
    f.start = f.json.value("start").toBool();
    f.end = f.json.value("end").toBool();
    f.valid =
        content && f.json.value("content").isString() && f.json.value("start").isBool() && f.json.value("end").isBool();
    frames << f;
    const int n = client == m_client ? ++m_connectionFrames : 0;
    for (int trigger : {n, f.end ? kEnd : 0}) {
        QPointer<QWebSocket> target(client);
        for (const Say &step : m_script[trigger]) {
            if (step.delayMs <= 0)
                send(target, step);
            else
                Scheduler::instance().singleShot(
                    step.delayMs, [this, target, step] { send(target, step); }, this);
        }
    }
}

void LocalSpeechServer::send(QWebSocket *client, const Say &step)
{
    if (!client)
        return;
    switch (step.kind) {
    case Say::Text:
        client->sendTextMessage(QString::fromUtf8(step.payload));
        break;
    case Say::Binary:
        client->sendBinaryMessage(step.payload);
        break;
    case Say::Close:
        client->close();
        break;
    case Say::Drop:
        client->abort();
        break;
    }
}

QByteArray LocalSpeechServer::audio() const
{
    QByteArray all;
    for (const SpeechFrame &f : frames)
        all += f.content;
    return all;
}

bool LocalSpeechServer::waitForFrames(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return frames.size() >= count; }, timeoutMs);
}
