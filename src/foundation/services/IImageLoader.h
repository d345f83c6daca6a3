#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

// Fetches the bytes of an image from an address (the maker's pictures, product
// images). The kit's views take one from whoever builds them; the composition root
// fills it with the network's.
class IImageLoader {
public:
    // A load under way. Dropping it abandons the load: its completion is not called.
    class Load {
    public:
        virtual ~Load() = default;
    };
    // ok: the server answered with a body (which may still not be an image); else
    // error says why.
    using Done = std::function<void(bool ok, const QByteArray &body, const QString &error)>;

    virtual ~IImageLoader() = default;
    // Starts a GET of the address asking for an image; done is called once, on the
    // main thread, after loadImage has returned.
    virtual std::unique_ptr<Load> loadImage(const QUrl &url, Done done) = 0;
};
