#include "ProductImageLoader.h"

#include "PZLog.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

namespace {
constexpr int kTransferTimeoutMs = 30000;
}

NetworkProductImageLoader::NetworkProductImageLoader(QNetworkAccessManager &network, QObject *parent)
    : QObject(parent), m_network(network)
{
}

void NetworkProductImageLoader::load(const QUrl &url, std::function<void(const QImage &image)> done)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(kTransferTimeoutMs);
    QNetworkReply *reply = m_network.get(request);
    // Too large a body is cut off instead of filling memory.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)] {
        reply->deleteLater();
        QImage image;
        if (reply->error() == QNetworkReply::NoError)
            image.loadFromData(reply->readAll());
        else
            qxInfo("profile") << "product image not loaded:" << reply->errorString();
        if (done)
            done(image);
    });
}
