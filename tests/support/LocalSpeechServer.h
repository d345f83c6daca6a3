#pragma once

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QWebSocket>

#include <map>

class QWebSocketServer;

// One audio frame as the speech server parsed it. `valid`: a JSON object with
// strict-Base64 "content" and boolean "start" and "end".
struct SpeechFrame {
    QJsonObject json;
    QByteArray content; // decoded
    bool valid = false, start = false, end = false;
    QString value(const char *key) const { return json.value(QLatin1String(key)).toString(); }
};

// The speech service for tests: a websocket server on 127.0.0.1 with a port the system
// picks, which parses every frame and answers from a script. Point the service at base().
//
//   server.onFrame(1, {S::reply("MID", "你")});
//   server.onEnd({S::reply("FIN", "你好。"), S::reply("LAST", "").after(300)});
//
// A step plays when its trigger arrives, after its delay on the process Scheduler
// (virtual time under ManualScheduler). The script holds for every connection; frames
// are counted per connection from 1, onEnd is the frame with "end":true.
class LocalSpeechServer : public QObject {
public:
    struct Say {
        enum Kind { Text, Binary, Close, Drop } kind = Text; // Close: a clean close; Drop: cut off
        QByteArray payload;
        int delayMs = 0;
        Say after(int ms) const { return {kind, payload, ms}; }
    };
    // {"status":status,"data":{"text":text,"type":type}}
    static Say reply(const QString &type, const QString &text, int status = 200);
    static Say text(const QByteArray &message) { return {Say::Text, message}; } // JSON or not
    static Say binary(const QByteArray &bytes) { return {Say::Binary, bytes}; }
    static Say close() { return {Say::Close, {}}; }
    static Say drop() { return {Say::Drop, {}}; }

    explicit LocalSpeechServer(QObject *parent = nullptr);
    QString base() const; // "ws://127.0.0.1:<port>"

    void onFrame(int n, QList<Say> steps) { m_script[n] = std::move(steps); }
    void onEnd(QList<Say> steps) { m_script[kEnd] = std::move(steps); }
    void say(const Say &step) { send(m_client, step); }         // at once, on the newest connection
    void setRefuseHandshake(bool refuse) { m_refuse = refuse; } // answers upgrades with 403

    QList<SpeechFrame> frames; // of every connection, in order
    QList<QUrl> requestUrls;   // one per accepted connection
    QByteArray audio() const;  // every frame's content, in order
    bool isConnected() const { return m_client && m_client->state() == QAbstractSocket::ConnectedState; }
    bool waitForFrames(int count, int timeoutMs = 5000); // runs the event loop

private:
    static constexpr int kEnd = -1;
    void received(QWebSocket *client, const QString &message);
    void send(QWebSocket *client, const Say &step);

    QWebSocketServer *m_server;
    QPointer<QWebSocket> m_client;
    std::map<int, QList<Say>> m_script;
    int m_connectionFrames = 0;
    bool m_refuse = false;
};
