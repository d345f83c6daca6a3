#pragma once

#include "services/IImageLoader.h"

class QNetworkAccessManager;

// Images over HTTP: a GET with "Accept: image/*" on the given network access manager
// (the maker's API client's, so proxies and time-outs are the same). Main thread only.
class QXImageLoader final : public IImageLoader {
public:
    explicit QXImageLoader(QNetworkAccessManager &network);

    std::unique_ptr<Load> loadImage(const QUrl &url, Done done) override;

private:
    QNetworkAccessManager &m_network;
};
