#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "NotificationRecorder.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(NotificationCenterTest, DeliversInRegistrationOrderWithPayload)
{
    NotificationCenter center;
    QObject a, b;
    QStringList seen;
    center.addObserver("n", &b, [&](const QVariant &p) { seen << "b" + p.toString(); });
    center.addObserver("n", &a, [&](const QVariant &p) { seen << "a" + p.toString(); });
    center.addObserver("other", &a, [&](const QVariant &) { seen << "other"; });
    center.post("n", 42);
    EXPECT_EQ(seen, (QStringList{"b42", "a42"}));
    center.post("nobody-listens"); // a no-op
    EXPECT_EQ(seen.size(), 2);
}

TEST(NotificationCenterTest, SubscriptionEndsWithContext)
{
    NotificationCenter center;
    int calls = 0;
    {
        QObject ctx;
        center.addObserver("n", &ctx, [&](const QVariant &) { ++calls; });
        center.post("n");
    }
    center.post("n");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(center.observerCount("n"), 0);
}

TEST(NotificationCenterTest, ObserversMayUnsubscribeDuringPost)
{
    NotificationCenter center;
    QObject ctx;
    QStringList seen;
    NotificationCenter::ObserverId second = 0;
    center.addObserver("n", &ctx, [&](const QVariant &) {
        seen << "first";
        center.removeObserver(second); // removes a later observer: it must not be called
    });
    second = center.addObserver("n", &ctx, [&](const QVariant &) { seen << "second"; });
    NotificationCenter::ObserverId self = 0;
    self = center.addObserver("m", &ctx, [&](const QVariant &) {
        seen << "self";
        center.removeObserver(self);
    });
    center.post("n");
    center.post("m");
    center.post("m");
    EXPECT_EQ(seen, (QStringList{"first", "self"}));

    // An observer destroyed by an earlier one during the same post is not called.
    auto victim = std::make_unique<QObject>();
    int victimCalls = 0;
    center.addObserver("x", &ctx, [&](const QVariant &) { victim.reset(); });
    center.addObserver("x", victim.get(), [&](const QVariant &) { ++victimCalls; });
    center.post("x");
    EXPECT_EQ(victimCalls, 0);
}

TEST(NotificationCenterTest, PostFromWorkerThreadArrivesOnMainThread)
{
    NotificationCenter center;
    QObject ctx;
    Qt::HANDLE deliveredOn = nullptr;
    center.addObserver("n", &ctx, [&](const QVariant &) { deliveredOn = QThread::currentThreadId(); });
    std::unique_ptr<QThread> t(QThread::create([&] { center.post("n"); }));
    t->start();
    t->wait();
    EXPECT_EQ(deliveredOn, nullptr); // queued, not yet delivered
    QCoreApplication::processEvents();
    EXPECT_EQ(deliveredOn, QThread::currentThreadId());
}

TEST(NotificationCenterTest, RecorderSeesApplicationNames)
{
    NotificationRecorder rec;
    postNotification(qx::notify::kUSBInsertNotification);
    postNotification(qx::notify::kUpdateOTAProgressNotification, 37);
    EXPECT_EQ(rec.names(), (QStringList{"kUSBInsertNotification", "kUpdateOTAProgressNotification"}));
    EXPECT_EQ(rec.payloads().at(1).toInt(), 37);
}

} // namespace
