#pragma once

#include "services/IImageLoader.h"

#include <QtGlobal>

class QNetworkAccessManager;

// Images over HTTP: a GET with "Accept: image/*" on the given network access manager
// (the maker's API client's, so proxies are the same). Main thread only. A transfer
// that stalls for kTransferTimeoutMs, or a body larger than kMaxImageBytes, fails.
class QXImageLoader final : public IImageLoader {
public:
    static constexpr int kTransferTimeoutMs = 30000;
    static constexpr qint64 kMaxImageBytes = 16 * 1024 * 1024;

    explicit QXImageLoader(QNetworkAccessManager &network);

    std::unique_ptr<Load> loadImage(const QUrl &url, Done done) override;

private:
    QNetworkAccessManager &m_network;
};
