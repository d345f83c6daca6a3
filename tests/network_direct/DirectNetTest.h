#pragma once

#include "LocalHttpServer.h"
#include "ManualScheduler.h"
#include "QXHttpRequestManager.h"
#include "QXReplyWatch.h"
#include "ScopedUserInfoData.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

// What a text-answer request (OCR, token) delivered.
struct TextDelivery {
    int calls = 0;
    bool success = false;
    QJsonValue value;
    QXNetError error;
    bool onMainThread = true;
};

// The direct requests against a local server: the maker's API under "/api", the
// OCR and token hosts at the root. Virtual time from 1700000000 (14 Nov 2023), the
// network reachable, a fresh application state.
class DirectNetTest : public ::testing::Test {
protected:
    static constexpr qint64 kNow = 1700000000;

    void SetUp() override {
        ASSERT_TRUE(server.isListening());
        pointAt(server.baseUrl());
        client().setReachabilityCheck([] { return false; });
    }
    void TearDown() override {
        for (const char *env : {"QX_API_BASE", "QX_IFLYTEK_OCR_BASE", "QX_CHIP_TOKEN_BASE"})
            qunsetenv(env);
        client().setReachabilityCheck({});
    }

    void pointAt(const QString &base) {
        qputenv("QX_API_BASE", (base + "/api").toLatin1());
        qputenv("QX_IFLYTEK_OCR_BASE", base.toLatin1());
        qputenv("QX_CHIP_TOKEN_BASE", base.toLatin1());
    }

    // A base on which nothing listens: the connection is refused.
    static QString deadBase() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const QString base = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
        probe.close();
        return base;
    }

    static QXHttpRequestManager &client() { return QXHttpRequestManager::sharedInstance(); }

    static QXSceneCallback recordInto(const std::shared_ptr<TextDelivery> &d) {
        return [d](bool ok, const QJsonValue &v, const QXNetError &e) {
            ++d->calls;
            d->success = ok;
            d->value = v;
            d->error = e;
            d->onMainThread = d->onMainThread && QThread::currentThread() == qApp->thread();
        };
    }

    // Waits for the first delivery, then lets anything queued behind it run.
    static void waitFor(const std::shared_ptr<TextDelivery> &d, int timeoutMs = 5000) {
        (void)QTest::qWaitFor([&] { return d->calls > 0; }, timeoutMs);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    static QJsonValue json(const QByteArray &text) {
        const QJsonDocument doc = QJsonDocument::fromJson(text);
        return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
    }

    ManualScheduler scheduler{QDateTime::fromSecsSinceEpoch(kNow, QTimeZone::utc())};
    ScopedUserInfoData state;
    LocalHttpServer server;
};
