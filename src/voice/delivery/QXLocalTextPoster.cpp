#include "QXLocalTextPoster.h"

#include "KeyValueStore.h"
#include "PZLog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <optional>

namespace {

constexpr quint16 kDefaultPort = 10668;

// The text as the contents of a JSON string: quotation marks, backslashes and control
// characters escaped, everything else as UTF-8.
QByteArray jsonStringContents(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(2, array.size() - 4); // without [" and "]
}

std::optional<quint16> portFrom(const QString &text, const char *where)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok);
    if (!ok || value == 0 || value > 65535) {
        qxLogOnce(QStringLiteral("localPost.port.") + QLatin1String(where),
                  QStringLiteral("[voice] %1 \"%2\" is not a port; ignored").arg(QLatin1String(where), text));
        return std::nullopt;
    }
    return quint16(value);
}

} // namespace

QByteArray qxLocalPostBody(const QString &text, const QString &sno)
{
    return QByteArrayLiteral("{\r\n    \"cmd\":\"voicetext\",\r\n    \"data\":\"") + jsonStringContents(text)
           + QByteArrayLiteral("\",\r\n    \"snr\":\"") + jsonStringContents(sno) + QByteArrayLiteral("\"\r\n}");
}

quint16 qxLocalPostPort()
{
    if (const auto fromEnv = portFrom(qEnvironmentVariable("QX_LOCAL_POST_PORT"), "QX_LOCAL_POST_PORT"))
        return *fromEnv;
    if (const auto stored = portFrom(defaultStore().stringValue(QStringLiteral("localPostPort")), "localPostPort"))
        return *stored;
    return kDefaultPort;
}

QXLocalTextPoster::QXLocalTextPoster(quint16 port) : m_port(port) {}

QXLocalTextPoster::~QXLocalTextPoster() = default;

void QXLocalTextPoster::sendLocalhostHttp(const QString &text, const QString &sno)
{
    if (!m_network) {
        m_network = std::make_unique<QNetworkAccessManager>();
        // A proxy from the environment must not see (or swallow) a loopback request.
        m_network->setProxy(QNetworkProxy::NoProxy);
    }
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(m_port ? m_port : qxLocalPostPort());
    url.setPath(QStringLiteral("/api"));
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply *reply = m_network->post(request, qxLocalPostBody(text, sno));
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply] {
        if (reply->error() != QNetworkReply::NoError)
            qxDebug("voice") << "local text post:" << reply->errorString();
        reply->deleteLater();
    });
}
