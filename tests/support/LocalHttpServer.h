#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <deque>
#include <functional>

class QTcpServer;
class QTcpSocket;

// One request as the server received it.
struct HttpRequestRecord {
    QByteArray method;                            // "GET"
    QByteArray target;                            // the raw request target, "/api/login?account=a%40b"
    QByteArray path;                              // target before "?", still encoded
    QByteArray query;                             // target after "?", still encoded ("" when none)
    QList<QPair<QByteArray, QByteArray>> headers; // in arrival order, names as sent
    QByteArray body;                              // de-chunked when sent chunked
    QByteArray raw;                               // every byte of this request as received

    bool hasHeader(const QByteArray &name) const;
    QByteArray header(const QByteArray &name) const; // first match, case-insensitive
    bool hasQuery() const { return target.contains('?'); }
    // Query pairs with percent escapes decoded; "+" stays "+" (no form decoding).
    QList<QPair<QString, QString>> queryItems() const;
    QString queryValue(const QString &key) const;
};

// What the server does with one request.
struct HttpScriptedReply {
    enum class Kind {
        Respond,     // status line, headers, Content-Length, body; then the connection closes
        NeverAnswer, // keeps the connection open and silent
        CloseEarly,  // closes the connection without a byte
        Raw,         // sends `raw` as it is, then closes
    };
    Kind kind = Kind::Respond;
    int status = 200;
    QByteArray reason;                            // derived from the status when empty
    QList<QPair<QByteArray, QByteArray>> headers; // Content-Length is added by the server
    QByteArray body;
    QByteArray raw;

    static HttpScriptedReply json(const QByteArray &body, int status = 200);
    static HttpScriptedReply withContentType(const QByteArray &contentType, const QByteArray &body, int status = 200);
    static HttpScriptedReply noContentType(const QByteArray &body, int status = 200);
    static HttpScriptedReply html(int status, const QByteArray &body);
    static HttpScriptedReply neverAnswer();
    static HttpScriptedReply closeEarly();
    static HttpScriptedReply rawBytes(const QByteArray &bytes);
};

// A real HTTP/1.1 server on 127.0.0.1 with a port the system picks, for tests of
// code that talks to web services. It records every request and answers from a
// script: queued replies first (in order), then the handler, else a 404. Runs on
// the thread's event loop; tests wait with QTest::qWaitFor or waitForRequests.
class LocalHttpServer : public QObject {
    Q_OBJECT
public:
    explicit LocalHttpServer(QObject *parent = nullptr);
    ~LocalHttpServer() override;

    bool isListening() const;
    quint16 port() const;
    // "http://127.0.0.1:<port>", no trailing slash.
    QString baseUrl() const;

    void enqueue(const HttpScriptedReply &reply);
    void setHandler(std::function<HttpScriptedReply(const HttpRequestRecord &)> handler);

    const QList<HttpRequestRecord> &requests() const { return m_requests; }
    int requestCount() const { return int(m_requests.size()); }
    const HttpRequestRecord &lastRequest() const { return m_requests.constLast(); }
    bool waitForRequests(int count, int timeoutMs = 5000);
    // Connections currently open (held by NeverAnswer, or not yet complete).
    int openConnections() const { return int(m_buffers.size()); }

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void reply(QTcpSocket *socket, const HttpRequestRecord &request);

    QTcpServer *m_server = nullptr;
    std::deque<HttpScriptedReply> m_queue;
    std::function<HttpScriptedReply(const HttpRequestRecord &)> m_handler;
    QList<HttpRequestRecord> m_requests;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};
