#include "QXImageLoader.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>

namespace {

class ReplyLoad final : public IImageLoader::Load {
public:
    ReplyLoad(QNetworkReply *reply, IImageLoader::Done done) : m_reply(reply)
    {
        QObject::connect(reply, &QNetworkReply::finished, reply, [reply, done = std::move(done)] {
            reply->deleteLater();
            const bool ok = reply->error() == QNetworkReply::NoError;
            if (done)
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
    return std::make_unique<ReplyLoad>(m_network.get(request), std::move(done));
}
