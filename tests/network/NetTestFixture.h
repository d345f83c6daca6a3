#pragma once

#include "FakeSceneState.h"
#include "LocalHttpServer.h"
#include "QXHttpRequestManager.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// What one scene request delivered.
struct Delivery {
    int calls = 0;
    bool success = false;
    QJsonValue value;
    QXNetError error;
    bool onMainThread = true;
};

// Every service base points at a fresh local server (the maker's bases under
// "/api", "/api2" for the second host); the network counts as reachable.
class NetServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        const QByteArray base = server.baseUrl().toLatin1();
        for (const auto &[env, path] : kBases)
            qputenv(env, base + path);
        client().setReachabilityCheck([] { return false; });
    }
    void TearDown() override
    {
        for (const auto &[env, path] : kBases)
            qunsetenv(env);
        client().setReachabilityCheck({});
    }

    static QXHttpRequestManager &client() { return QXHttpRequestManager::sharedInstance(); }

    // Sends the scene and waits until its callback ran (or timeoutMs passed).
    std::shared_ptr<Delivery> send(std::shared_ptr<QXNetBaseScene> scene, int timeoutMs = 5000)
    {
        auto d = std::make_shared<Delivery>();
        client().httpRequestWithScene(std::move(scene), [d](bool ok, const QJsonValue &v, const QXNetError &e) {
            ++d->calls;
            d->success = ok;
            d->value = v;
            d->error = e;
            d->onMainThread = d->onMainThread && QThread::currentThread() == qApp->thread();
        });
        (void)QTest::qWaitFor([&] { return d->calls > 0; }, timeoutMs);
        // Let anything queued behind the first delivery run: a second call would show.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        return d;
    }

    static QJsonValue json(const char *text)
    {
        const QJsonDocument doc = QJsonDocument::fromJson(text);
        return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
    }

    static constexpr std::pair<const char *, const char *> kBases[] = {
        {"QX_API_BASE", "/api"},
        {"QX_API2_BASE", "/api2"},
        {"QX_WEATHER_BASE", ""},
        {"QX_MS_TRANSLATOR_BASE", "/ms"},
        {"QX_BAIDU_OAUTH_BASE", "/baidu-oauth"},
        {"QX_BAIDU_ASR_BASE", "/baidu-asr"},
        {"QX_IFLYTEK_API_BASE", "/ifly"},
        {"QX_SEMANTIC_BASE", "/semantic"},
    };

    LocalHttpServer server;
};

// ... with a fake application state.
class NetTest : public NetServerTest {
protected:
    FakeSceneState state;
};
