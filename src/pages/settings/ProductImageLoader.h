#pragma once

#include <QImage>
#include <QObject>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;

// Fetches a product picture for the device page. done runs once, on the main thread,
// with the decoded picture, or a null image when it could not be fetched or decoded.
class ProductImageLoader {
public:
    virtual ~ProductImageLoader() = default;
    virtual void load(const QUrl &url, std::function<void(const QImage &image)> done) = 0;
};

// Over the application's QNetworkAccessManager (main thread). A pending load whose
// loader is gone never calls back.
class NetworkProductImageLoader final : public QObject, public ProductImageLoader {
public:
    explicit NetworkProductImageLoader(QNetworkAccessManager &network, QObject *parent = nullptr);
    void load(const QUrl &url, std::function<void(const QImage &image)> done) override;

    // A larger body is not an image we show.
    static constexpr qint64 kMaxBytes = 16 * 1024 * 1024;

private:
    QNetworkAccessManager &m_network;
};
