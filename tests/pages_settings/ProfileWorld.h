#pragma once

#include "DeviceProfileController.h"
#include "FakeNeighbours.h"
#include "KeyValueStore.h"
#include "NetWorld.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "ProductImageLoader.h"
#include "ScopedUserInfoData.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// Remembers every picture load; finish() answers the latest.
struct FakeImageLoader final : ProductImageLoader {
    QStringList urls;
    std::vector<std::function<void(const QImage &)>> pending;
    void load(const QUrl &url, std::function<void(const QImage &)> done) override
    {
        urls << url.toString();
        pending.push_back(std::move(done));
    }
    void finish(const QImage &image) { pending.back()(image); }
};

// The profile loader of product 523 / sn S9 over a fresh state, the maker's API on a
// local server, and recording stand-ins. `events` holds the profile's notifications
// and the voice-chip query in the order they happened.
struct ProfileWorld {
    ScopedUserInfoData s;
    NetWorld net;
    CallLog log;
    FakeAIWindow ai{log};
    FakeImageLoader images;
    QObject observer;
    QStringList events;
    DeviceProfileController ctl{deps()};

    ProfileWorld()
    {
        using namespace qx::notify;
        for (const char *name : {kUpdateOCRListNotification, kUpdateInputAudioListNotification,
                                 kUpdateTranslateListNotification, kUpdateLeftItemNotification})
            NotificationCenter::defaultCenter().addObserver(QString::fromLatin1(name), &observer,
                                                            [this, name](const QVariant &) { events << name; });
        s->setProductCode(QStringLiteral("523"));
        s->mouseInfoItem().setSn(QStringLiteral("S9"));
    }
    DeviceProfileController::Deps deps()
    {
        DeviceProfileController::Deps d;
        d.state = &s.state();
        d.store = &s.store();
        d.languages = &s.languages();
        d.notifications = &NotificationCenter::defaultCenter();
        d.http = &net.client();
        d.aiWindow = &ai;
        d.images = &images;
        d.askVoiceChipInfo = [this] { events << "askVoiceChipInfo"; };
        return d;
    }
    void serve(const QByteArray &data)
    {
        net.server.enqueue(HttpScriptedReply::json("{\"rc\":0,\"msg\":\"ok\",\"data\":" + data + "}"));
    }
    // Runs getCustomerKey until its request (if any) is answered; the number of requests.
    int getCustomerKey()
    {
        const int before = net.server.requestCount();
        ctl.getCustomerKey();
        EXPECT_TRUE(QTest::qWaitFor([this] { return net.client().requestsInFlight() == 0; }, 5000));
        runUntilIdle();
        return net.server.requestCount() - before;
    }
    void apply(const QByteArray &json) { ctl.handleModelInfo(NetWorld::json(json), "523", "S9"); }
    KeyValueStore &store() { return s.store(); }
    QJsonValue stored(const QString &key) { return NetWorld::json(store().stringValue(key).toUtf8()); }
};
