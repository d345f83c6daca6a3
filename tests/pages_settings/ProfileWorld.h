#pragma once

#include "DeviceProfileController.h"
#include "FakeNeighbours.h"
#include "KeyValueStore.h"
#include "NetWorld.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "ProductImageLoader.h"
#include "ScopedUserInfoData.h"

#include <QJsonDocument>
#include <QTest>

#include <QStringList>
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

// Remembers every load; the test finishes them.
struct FakeImageLoader final : ProductImageLoader {
    QStringList urls;
    std::vector<std::function<void(const QImage &)>> pending;
    void load(const QUrl &url, std::function<void(const QImage &)> done) override
    {
        urls << url.toString();
        pending.push_back(std::move(done));
    }
    void finish(const QImage &image)
    {
        auto done = std::move(pending.back());
        pending.pop_back();
        done(image);
    }
};

// The device profile loader over a fresh state and language manager, the maker's API
// on a local server, a recording AI window and picture loader. `events` holds the
// profile's notifications and the voice-chip query in the order they happened.
struct ProfileWorld {
    ScopedUserInfoData s;
    NetWorld net;
    CallLog log;
    FakeAIWindow ai{log};
    FakeImageLoader images;
    QObject observer;
    QStringList events;
    DeviceProfileController ctl{deps(s.store())};

    ProfileWorld()
    {
        for (const char *name : {qx::notify::kUpdateOCRListNotification, qx::notify::kUpdateInputAudioListNotification,
                                 qx::notify::kUpdateTranslateListNotification, qx::notify::kUpdateLeftItemNotification})
            NotificationCenter::defaultCenter().addObserver(QString::fromLatin1(name), &observer,
                                                            [this, name](const QVariant &) { events << name; });
        device(QStringLiteral("523"), QStringLiteral("S9"));
    }
    DeviceProfileController::Deps deps(KeyValueStore &store)
    {
        DeviceProfileController::Deps d;
        d.state = &s.state();
        d.store = &store;
        d.languages = &s.languages();
        d.notifications = &NotificationCenter::defaultCenter();
        d.http = &net.client();
        d.aiWindow = &ai;
        d.images = &images;
        d.askVoiceChipInfo = [this] { events << "askVoiceChipInfo"; };
        return d;
    }
    void device(const QString &productCode, const QString &sn)
    {
        s->setProductCode(productCode);
        s->mouseInfoItem().setSn(sn);
    }
    // The server's answer to the next profile request.
    void serve(const QByteArray &data)
    {
        net.server.enqueue(HttpScriptedReply::json("{\"rc\":0,\"msg\":\"ok\",\"data\":" + data + "}"));
    }
    // getCustomerKey, waiting for the request it sends (if any) to be answered.
    // Returns the number of requests it sent.
    int getCustomerKey()
    {
        const int before = net.server.requestCount();
        ctl.getCustomerKey();
        EXPECT_TRUE(QTest::qWaitFor([this] { return net.client().requestsInFlight() == 0; }, 5000));
        runUntilIdle();
        return net.server.requestCount() - before;
    }
    void apply(const QByteArray &json)
    {
        ctl.handleModelInfo(NetWorld::json(json), s->productCode(), s->mouseInfoItem().sn());
    }
    QJsonValue stored(const QString &key) { return NetWorld::json(s.store().stringValue(key).toUtf8()); }
};
