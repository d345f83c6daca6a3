#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QNetworkAccessManager;

// The request body of the local text endpoint: five CR LF lines with a four-space
// indent, the text and the serial number as JSON string contents.
QByteArray qxLocalPostBody(const QString &text, const QString &sno);

// The endpoint's port on the loopback host: QX_LOCAL_POST_PORT, else the preference
// "localPostPort", else 10668. A value that is not a port is ignored, with a log line.
quint16 qxLocalPostPort();

// Hands every delivered text to a program listening on the loopback host
// (POST /api). Fire and forget: the post never blocks, its answer is ignored, and a
// missing or silent listener costs nothing but the request, which gives up after 10 s.
// Main thread only.
class QXLocalTextPoster {
public:
    static constexpr int kTimeoutMs = 10000;

    // port 0: qxLocalPostPort() at each post.
    explicit QXLocalTextPoster(quint16 port = 0);
    ~QXLocalTextPoster();
    QXLocalTextPoster(const QXLocalTextPoster &) = delete;
    QXLocalTextPoster &operator=(const QXLocalTextPoster &) = delete;

    void sendLocalhostHttp(const QString &text, const QString &sno);

private:
    quint16 m_port;
    std::unique_ptr<QNetworkAccessManager> m_network; // made on the first post
};
