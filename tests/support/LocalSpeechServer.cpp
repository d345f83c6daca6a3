#include "LocalSpeechServer.h"

#include "Scheduler.h"

#include <QJsonDocument>
#include <QTest>
#include <QWebSocket>
#include <QWebSocketCorsAuthenticator>
#include <QWebSocketServer>

namespace {
SpeechFrame parseFrame(const QString &message)
{
    SpeechFrame f;
    const QJsonDocument doc = QJsonDocument::fromJson(message.toUtf8());
    if (!doc.isObject())
        return f;
    f.json = doc.object();
    const auto content =
        QByteArray::fromBase64Encoding(f.value("content").toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    f.content = content.decoded;
    f.start = f.json.value(QLatin1String("start")).toBool();
    f.end = f.json.value(QLatin1String("end")).toBool();
    f.valid = content && f.json.value(QLatin1String("content")).isString()
              && f.json.value(QLatin1String("start")).isBool() && f.json.value(QLatin1String("end")).isBool();
    return f;
}
} // namespace

LocalSpeechServer::Say LocalSpeechServer::reply(const QString &type, const QString &text, int status)
{
    const QJsonObject data{{QStringLiteral("text"), text}, {QStringLiteral("type"), type}};
    const QJsonObject o{{QStringLiteral("status"), status}, {QStringLiteral("data"), data}};
    return {Say::Kind::Text, QJsonDocument(o).toJson(QJsonDocument::Compact)};
}

LocalSpeechServer::Say LocalSpeechServer::text(const QByteArray &message)
{
    return {Say::Kind::Text, message};
}

LocalSpeechServer::Say LocalSpeechServer::binary(const QByteArray &bytes)
{
    return {Say::Kind::Binary, bytes};
}

LocalSpeechServer::Say LocalSpeechServer::close()
{
    return {Say::Kind::Close, {}};
}

LocalSpeechServer::Say LocalSpeechServer::drop()
{
    return {Say::Kind::Drop, {}};
}

LocalSpeechServer::LocalSpeechServer(QObject *parent)
    : QObject(parent),
      m_server(new QWebSocketServer(QStringLiteral("LocalSpeechServer"), QWebSocketServer::NonSecureMode, this))
{
    connect(m_server, &QWebSocketServer::originAuthenticationRequired, this,
            [this](QWebSocketCorsAuthenticator *auth) { auth->setAllowed(!m_refuse); });
    connect(m_server, &QWebSocketServer::newConnection, this, &LocalSpeechServer::accept);
    m_server->listen(QHostAddress::LocalHost, 0);
}

LocalSpeechServer::~LocalSpeechServer() = default;

QString LocalSpeechServer::base() const
{
    return QStringLiteral("ws://127.0.0.1:%1").arg(m_server->serverPort());
}

void LocalSpeechServer::accept()
{
    while (QWebSocket *client = m_server->nextPendingConnection()) {
        client->setParent(this);
        m_client = client;
        m_connectionFrames = 0;
        m_urls << client->requestUrl();
        connect(client, &QWebSocket::textMessageReceived, this,
                [this, client](const QString &message) { received(client, message); });
        connect(client, &QWebSocket::disconnected, client, &QObject::deleteLater);
    }
}

void LocalSpeechServer::received(QWebSocket *client, const QString &message)
{
    m_frames << parseFrame(message);
    const int n = client == m_client ? ++m_connectionFrames : -1;
    if (const auto it = m_onFrame.find(n); it != m_onFrame.end())
        play(client, it->second);
    if (m_frames.constLast().end)
        play(client, m_onEnd);
}

void LocalSpeechServer::play(QWebSocket *client, const QList<Say> &steps)
{
    QPointer<QWebSocket> target(client);
    for (const Say &step : steps) {
        if (step.delayMs <= 0) {
            send(target, step);
            continue;
        }
        Scheduler::instance().singleShot(
            step.delayMs, [this, target, step] { send(target, step); }, this);
    }
}

void LocalSpeechServer::say(const Say &step)
{
    send(m_client, step);
}

void LocalSpeechServer::send(QWebSocket *client, const Say &step)
{
    if (!client)
        return;
    switch (step.kind) {
    case Say::Kind::Text:
        client->sendTextMessage(QString::fromUtf8(step.payload));
        break;
    case Say::Kind::Binary:
        client->sendBinaryMessage(step.payload);
        break;
    case Say::Kind::Close:
        client->close();
        break;
    case Say::Kind::Drop:
        client->abort();
        break;
    }
}

QByteArray LocalSpeechServer::audio() const
{
    QByteArray all;
    for (const SpeechFrame &f : m_frames)
        all += f.content;
    return all;
}

bool LocalSpeechServer::waitForFrames(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return m_frames.size() >= count; }, timeoutMs);
}

bool LocalSpeechServer::waitForEnd(int timeoutMs)
{
    return QTest::qWaitFor([&] { return !m_frames.isEmpty() && m_frames.constLast().end; }, timeoutMs);
}

bool LocalSpeechServer::waitForConnections(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return m_urls.size() >= count; }, timeoutMs);
}

bool LocalSpeechServer::waitForDisconnect(int timeoutMs)
{
    return QTest::qWaitFor([&] { return !m_client || m_client->state() != QAbstractSocket::ConnectedState; },
                           timeoutMs);
}
