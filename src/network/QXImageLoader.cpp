#include "QXImageLoader.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>

#include <memory>

namespace {

class ReplyLoad final : public IImageLoader::Load {
public:
    ReplyLoad(QNetworkReply *reply, IImageLoader::Done done) : m_reply(reply)
    {
        // Too large a body is cut off instead of filling memory.
        auto tooLarge = std::make_shared<bool>(false);
        QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                         [reply, tooLarge](qint64 received, qint64 total) {
                             if (received > QXImageLoader::kMaxImageBytes || total > QXImageLoader::kMaxImageBytes) {
                                 *tooLarge = true;
                                 reply->abort();
                             }
                         });
        QObject::connect(reply, &QNetworkReply::finished, reply, [reply, tooLarge, done = std::move(done)] {
            reply->deleteLater();
            if (!done)
                return;
            if (*tooLarge || reply->bytesAvailable() > QXImageLoader::kMaxImageBytes) {
                done(false, {}, QStringLiteral("larger than an image may be"));
                return;
            }
            const bool ok = reply->error() == QNetworkReply::NoError;
            done(ok, ok ? reply->readAll() : QByteArray(), ok ? QString() : reply->errorString());
        });
    }
    ~ReplyLoad() override
    {
        if (!m_reply)
            return;
        // Abandoned: nobody is told, and the transfer stops.
        m_reply->disconnect();
        m_reply->abort();
        m_reply->deleteLater();
    }

private:
    QPointer<QNetworkReply> m_reply;
};

} // namespace

QXImageLoader::QXImageLoader(QNetworkAccessManager &network) : m_network(network) {}

std::unique_ptr<IImageLoader::Load> QXImageLoader::loadImage(const QUrl &url, Done done)
{
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "image/*");
    request.setTransferTimeout(kTransferTimeoutMs);
    return std::make_unique<ReplyLoad>(m_network.get(request), std::move(done));
}
