#include "LocalHttpServer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <optional>

namespace {

QByteArray reasonFor(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

// Parses one complete request from the front of `buffer`; nullopt while incomplete.
// `consumed` tells how many bytes it used.
std::optional<HttpRequestRecord> parseRequest(const QByteArray &buffer, qsizetype &consumed)
{
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return std::nullopt;
    HttpRequestRecord r;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    r.method = requestLine.value(0);
    r.target = requestLine.value(1);
    const qsizetype q = r.target.indexOf('?');
    r.path = q < 0 ? r.target : r.target.left(q);
    r.query = q < 0 ? QByteArray() : r.target.mid(q + 1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            r.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }

    qsizetype pos = headEnd + 4;
    if (r.header("Transfer-Encoding").toLower().contains("chunked")) {
        for (;;) {
            const qsizetype lineEnd = buffer.indexOf("\r\n", pos);
            if (lineEnd < 0)
                return std::nullopt;
            bool ok = false;
            const qsizetype size = buffer.mid(pos, lineEnd - pos).split(';').value(0).trimmed().toLongLong(&ok, 16);
            if (!ok)
                return std::nullopt;
            pos = lineEnd + 2;
            if (size == 0) {
                const qsizetype trailerEnd = buffer.indexOf("\r\n", pos);
                if (trailerEnd < 0)
                    return std::nullopt;
                pos = trailerEnd + 2;
                break;
            }
            if (buffer.size() < pos + size + 2)
                return std::nullopt;
            r.body.append(buffer.mid(pos, size));
            pos += size + 2;
        }
    } else {
        const qsizetype length = r.header("Content-Length").toLongLong();
        if (buffer.size() < pos + length)
            return std::nullopt;
        r.body = buffer.mid(pos, length);
        pos += length;
    }
    r.raw = buffer.left(pos);
    consumed = pos;
    return r;
}

} // namespace

bool HttpRequestRecord::hasHeader(const QByteArray &name) const
{
    for (const auto &h : headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QByteArray HttpRequestRecord::header(const QByteArray &name) const
{
    for (const auto &h : headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    return {};
}

QList<QPair<QString, QString>> HttpRequestRecord::queryItems() const
{
    QList<QPair<QString, QString>> items;
    if (query.isEmpty())
        return items;
    for (const QByteArray &pair : query.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype eq = pair.indexOf('=');
        const QByteArray k = eq < 0 ? pair : pair.left(eq);
        const QByteArray v = eq < 0 ? QByteArray() : pair.mid(eq + 1);
        items.append({QString::fromUtf8(QByteArray::fromPercentEncoding(k)),
                      QString::fromUtf8(QByteArray::fromPercentEncoding(v))});
    }
    return items;
}

QString HttpRequestRecord::queryValue(const QString &key) const
{
    for (const auto &item : queryItems())
        if (item.first == key)
            return item.second;
    return {};
}

HttpScriptedReply HttpScriptedReply::json(const QByteArray &body, int status)
{
    return withContentType("application/json", body, status);
}

HttpScriptedReply HttpScriptedReply::withContentType(const QByteArray &contentType, const QByteArray &body, int status)
{
    HttpScriptedReply r;
    r.status = status;
    r.headers.append({"Content-Type", contentType});
    r.body = body;
    return r;
}

HttpScriptedReply HttpScriptedReply::noContentType(const QByteArray &body, int status)
{
    HttpScriptedReply r;
    r.status = status;
    r.body = body;
    return r;
}

HttpScriptedReply HttpScriptedReply::html(int status, const QByteArray &body)
{
    return withContentType("text/html; charset=utf-8", body, status);
}

HttpScriptedReply HttpScriptedReply::neverAnswer()
{
    HttpScriptedReply r;
    r.kind = Kind::NeverAnswer;
    return r;
}

HttpScriptedReply HttpScriptedReply::closeEarly()
{
    HttpScriptedReply r;
    r.kind = Kind::CloseEarly;
    return r;
}

HttpScriptedReply HttpScriptedReply::rawBytes(const QByteArray &bytes)
{
    HttpScriptedReply r;
    r.kind = Kind::Raw;
    r.raw = bytes;
    return r;
}

LocalHttpServer::LocalHttpServer(QObject *parent) : QObject(parent), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &LocalHttpServer::onNewConnection);
    m_server->listen(QHostAddress::LocalHost, 0);
}

LocalHttpServer::~LocalHttpServer()
{
    const auto sockets = m_buffers.keys();
    m_buffers.clear();
    for (QTcpSocket *socket : sockets) {
        socket->disconnect(this);
        socket->abort();
        delete socket;
    }
}

bool LocalHttpServer::isListening() const
{
    return m_server->isListening();
}

quint16 LocalHttpServer::port() const
{
    return m_server->serverPort();
}

QString LocalHttpServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

void LocalHttpServer::enqueue(const HttpScriptedReply &reply)
{
    m_queue.push_back(reply);
}

void LocalHttpServer::setHandler(std::function<HttpScriptedReply(const HttpRequestRecord &)> handler)
{
    m_handler = std::move(handler);
}

bool LocalHttpServer::waitForRequests(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return requestCount() >= count; }, timeoutMs);
}

void LocalHttpServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(nullptr); // owned through m_buffers
        m_buffers.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (m_buffers.remove(socket))
                socket->deleteLater();
        });
    }
}

void LocalHttpServer::onReadyRead(QTcpSocket *socket)
{
    auto it = m_buffers.find(socket);
    if (it == m_buffers.end())
        return;
    it->append(socket->readAll());
    qsizetype consumed = 0;
    const std::optional<HttpRequestRecord> request = parseRequest(*it, consumed);
    if (!request)
        return;
    it->remove(0, consumed);
    m_requests.append(*request);
    reply(socket, *request);
}

void LocalHttpServer::reply(QTcpSocket *socket, const HttpRequestRecord &request)
{
    HttpScriptedReply r;
    if (!m_queue.empty()) {
        r = m_queue.front();
        m_queue.pop_front();
    } else if (m_handler) {
        r = m_handler(request);
    } else {
        r = HttpScriptedReply::withContentType("text/plain", "no scripted reply", 404);
    }

    switch (r.kind) {
    case HttpScriptedReply::Kind::NeverAnswer:
        return;
    case HttpScriptedReply::Kind::CloseEarly:
        socket->disconnectFromHost();
        return;
    case HttpScriptedReply::Kind::Raw:
        socket->write(r.raw);
        socket->disconnectFromHost();
        return;
    case HttpScriptedReply::Kind::Respond:
        break;
    }
    QByteArray out = "HTTP/1.1 " + QByteArray::number(r.status) + ' '
                     + (r.reason.isEmpty() ? reasonFor(r.status) : r.reason) + "\r\n";
    for (const auto &h : r.headers)
        out += h.first + ": " + h.second + "\r\n";
    out += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
    out += "Connection: close\r\n\r\n";
    out += r.body;
    socket->write(out);
    socket->disconnectFromHost();
}
