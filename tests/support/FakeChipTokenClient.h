#pragma once

#include "IChipTokenClient.h"

#include <QJsonValue>

#include <vector>

// The chip vendor's token request, answered when the test says so: each request is
// kept with the chip data it was asked with, until answer() completes it.
class FakeChipTokenClient : public IChipTokenClient {
public:
    struct Request {
        QXSceneCallback callback;
        QString authDataStr; // IFlytekChip_AuthDataStr at the time of the request
    };
    std::vector<Request> requests;
    std::function<QString()> snapshot; // what to keep with each request (may be empty)

    void getIFlytekTokenWithCallback(QXSceneCallback callback) override
    {
        requests.push_back({std::move(callback), snapshot ? snapshot() : QString()});
    }
    // Completes request i once, with success or a transport failure.
    void answer(std::size_t i, bool success)
    {
        QXSceneCallback cb = std::exchange(requests.at(i).callback, nullptr);
        if (!cb)
            return;
        QXNetError error;
        if (!success) {
            error.kind = QXNetError::Kind::Transport;
            error.message = QStringLiteral("connection refused");
        }
        cb(success, success ? QJsonValue(QStringLiteral("token")) : QJsonValue(), error);
    }
};
