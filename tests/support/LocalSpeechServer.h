#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWebSocket>

#include <map>

class QWebSocketServer;

// One audio frame as the speech server parsed it.
struct SpeechFrame {
    QJsonObject json;   // {} when the message was not a JSON object
    QByteArray content; // "content" Base64-decoded
    bool valid = false; // an object with strict-Base64 "content" and boolean "start"/"end"
    bool start = false;
    bool end = false;
    QString value(const char *key) const { return json.value(QLatin1String(key)).toString(); }
};

// The speech service for tests: a websocket server on 127.0.0.1 with a port the system
// picks, that parses every frame and answers from a script. Point the service at base().
//
//   server.onFrame(1, {LocalSpeechServer::reply("MID", "你")});
//   server.onEnd({LocalSpeechServer::reply("FIN", "你好。"), LocalSpeechServer::reply("LAST", "").after(300)});
//
// A script step plays when its trigger arrives on a connection, after its delay on the
// process Scheduler (virtual time under ManualScheduler). Scripts hold for every
// connection of the test; frames are counted per connection from 1.
class LocalSpeechServer : public QObject {
public:
    struct Say {
        enum class Kind { Text, Binary, Close, Drop };
        Kind kind = Kind::Text;
        QByteArray payload;
        int delayMs = 0;
        Say after(int ms) const
        {
            Say s = *this;
            s.delayMs = ms;
            return s;
        }
    };
    // {"status":status,"data":{"text":text,"type":type}}
    static Say reply(const QString &type, const QString &text, int status = 200);
    static Say text(const QByteArray &message); // any text message, JSON or not
    static Say binary(const QByteArray &bytes);
    static Say close(); // a clean websocket close, without a last result
    static Say drop();  // the connection cut without a close

    explicit LocalSpeechServer(QObject *parent = nullptr);
    ~LocalSpeechServer() override;

    QString base() const; // "ws://127.0.0.1:<port>"

    void onFrame(int n, QList<Say> steps) { m_onFrame[n] = std::move(steps); }
    void onEnd(QList<Say> steps) { m_onEnd = std::move(steps); } // the frame with "end":true
    // Plays at once on the newest connection.
    void say(const Say &step);
    // Answers every upgrade request with 403.
    void setRefuseHandshake(bool refuse) { m_refuse = refuse; }

    const QList<SpeechFrame> &frames() const { return m_frames; }
    QByteArray audio() const; // every frame's content, in order
    const QList<QUrl> &requestUrls() const { return m_urls; }
    bool isConnected() const { return m_client != nullptr; }
    // Run the event loop until the condition holds (false on time-out).
    bool waitForFrames(int count, int timeoutMs = 5000);
    bool waitForEnd(int timeoutMs = 5000);
    bool waitForConnections(int count, int timeoutMs = 5000);
    bool waitForDisconnect(int timeoutMs = 5000);

private:
    void accept();
    void received(QWebSocket *client, const QString &message);
    void play(QWebSocket *client, const QList<Say> &steps);
    void send(QWebSocket *client, const Say &step);

    QWebSocketServer *m_server = nullptr;
    QPointer<QWebSocket> m_client;
    std::map<int, QList<Say>> m_onFrame;
    QList<Say> m_onEnd;
    QList<SpeechFrame> m_frames;
    QList<QUrl> m_urls;
    int m_connectionFrames = 0;
    bool m_refuse = false;
};
