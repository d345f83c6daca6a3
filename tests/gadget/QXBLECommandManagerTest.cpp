#include "QXBLECommandManager.h"
#include "BleDeviceTable.h"
#include "FakeBleCentral.h"
#include "ManualScheduler.h"
#include "QXBLEManager.h"
#include "RecordingBleManagerDelegate.h"

#include <gtest/gtest.h>

#include <memory>

namespace g = proto::gadget;

namespace {

QString hex(const QByteArray &b)
{
    return QString::fromLatin1(b.toHex(' '));
}

const QString kHandshake = QStringLiteral("05 12 02 02 00 04 21");
const QString kDeviceInfo = QStringLiteral("05 12 03 02 00 05 21");
const QString kMac = QStringLiteral("05 12 05 02 00 07 21");
const QString kAuth = QStringLiteral("13 12 50 02 00 52 28");

class GadgetManagerTest : public ::testing::Test {
protected:
    ManualScheduler sched;
    QStringList writes; // "t=<ms> <hex>"
    std::unique_ptr<QXBLECommandManager> mgr = std::make_unique<QXBLECommandManager>([this](const QByteArray &f) {
        writes << QStringLiteral("t=%1 %2").arg(sched.monotonicMs()).arg(hex(f));
        return true;
    });
    QStringList calls; // "result|text|status"

    void feed(const char *hexValue)
    {
        mgr->eventTypeConvertDataToHexStr(QByteArray::fromHex(hexValue), [this](int r, const QString &t, qint64 s) {
            calls << QStringLiteral("%1|%2|%3").arg(r).arg(QString(t).replace(QChar(0), QLatin1String("\\0"))).arg(s);
        });
    }
};

} // namespace

TEST_F(GadgetManagerTest, HandshakeAnswersTwiceThenAsksForInfoAndMac)
{
    feed("05 12 01 02 00 03 21");
    EXPECT_EQ(calls, QStringList{"1|\\0|0"});
    EXPECT_TRUE(mgr->isConnect());
    EXPECT_EQ(writes, (QStringList{"t=0 " + kHandshake, "t=0 " + kHandshake}));

    sched.advance(39);
    EXPECT_EQ(writes.size(), 2);
    sched.advance(1);
    sched.advance(99);
    sched.advance(1);
    sched.advance(10000);
    EXPECT_EQ(writes, (QStringList{"t=0 " + kHandshake, "t=0 " + kHandshake, "t=40 " + kDeviceInfo, "t=140 " + kMac}));
}

TEST_F(GadgetManagerTest, HandshakeIsRefusedUnlessEveryStatusByteIsZero)
{
    feed("05 12 01 02 01 04 21");
    // Read as a 32-bit number this payload would wrap to zero and pass.
    feed("05 12 01 07 01 00 00 00 00 09 21");
    feed("05 12 01 21"); // no status at all
    sched.advance(1000);
    EXPECT_FALSE(mgr->isConnect());
    EXPECT_TRUE(writes.isEmpty());
    EXPECT_EQ(calls.size(), 3);
}

TEST_F(GadgetManagerTest, KeyAndRecordEventsAreAnswered)
{
    const struct {
        const char *name;
        const char *value;
        QString write; // empty: nothing
        bool leftVoiceAfter;
        int result;
    } rows[] = {
        {"right press", "05 12 17 02 00 19 21", "05 12 18 02 00 1a 21", true, 32},
        {"left press", "05 12 13 02 00 15 21", "05 12 14 02 00 16 21", false, 30},
        {"right press failed", "05 12 17 02 01 1a 21", {}, false, 32},
        {"left release", "05 12 15 02 00 17 21", "05 12 35 02 00 43 21", false, 31},
        {"right release, any status", "05 12 19 02 07 22 21", "05 12 35 02 00 43 21", false, 33},
        {"recording started", "05 12 33 02 00 35 21", "05 12 34 02 00 23 21", false, 15},
        {"recording failed", "05 12 33 02 02 37 21", {}, false, 15},
        {"play key", "05 12 36 02 00 38 21", "05 12 31 02 00 33 21", false, 17},
        {"volume event: nothing to answer", "05 12 1c 02 00 1e 21", {}, false, 34},
        {"unknown event", "05 12 60 02 00 62 21", {}, false, 0},
    };
    for (const auto &r : rows) {
        writes.clear();
        calls.clear();
        feed(r.value);
        EXPECT_EQ(writes, r.write.isEmpty() ? QStringList{} : QStringList{"t=0 " + r.write}) << r.name;
        EXPECT_EQ(mgr->isLeftVoice(), r.leftVoiceAfter) << r.name;
        ASSERT_EQ(calls.size(), 1) << r.name;
        EXPECT_TRUE(calls[0].startsWith(QString::number(r.result) + "|")) << r.name << " " << calls[0].toStdString();
    }
}

TEST_F(GadgetManagerTest, EachFrameOfAValueIsHandledAndReported)
{
    feed("05 12 04 02 00 06 21 05 12 0a 02 00 0c 21");
    feed("05 12 06 08 a1 21 05 12 e5 f6 00 21"); // one MAC reply, 05 12 in its data
    feed("05 12 13 02 00 15 21 05 12 15 02 00 17 21");
    feed("10 81 00 a0 00 00");
    feed("05 12 01"); // too short: no call
    EXPECT_EQ(calls, (QStringList{"2|\\0|0", "5|\\0|0", QStringLiteral("3|a1:21:05:12:e5:f6|%1").arg(0xa1210512e5f6LL),
                                  "30|\\0|0", "31|\\0|0", "16||-1"}));
    EXPECT_EQ(writes, (QStringList{"t=0 05 12 14 02 00 16 21", "t=0 05 12 35 02 00 43 21"}));
}

TEST_F(GadgetManagerTest, AuthorisationTimerSendsAtMostFiveRequests)
{
    mgr->startTimer();
    sched.advance(30000);
    EXPECT_EQ(writes, (QStringList{"t=5000 " + kAuth, "t=10000 " + kAuth, "t=15000 " + kAuth, "t=20000 " + kAuth,
                                   "t=25000 " + kAuth}));
    EXPECT_FALSE(mgr->isTimerRunning());
    EXPECT_EQ(mgr->sendCount(), 5);

    // A new start counts from zero; a disconnection stops it.
    writes.clear();
    mgr->startTimer();
    EXPECT_EQ(mgr->sendCount(), 0);
    sched.advance(10000);
    mgr->setIsConnect(false);
    sched.advance(30000);
    EXPECT_EQ(writes.size(), 2);
    EXPECT_EQ(sched.pendingCount(), 0);

    // Restarting a running timer does not add a second one.
    writes.clear();
    mgr->startTimer();
    sched.advance(7000);
    mgr->startTimer();
    sched.advance(4000);
    EXPECT_EQ(writes.size(), 1);
    sched.advance(1000);
    EXPECT_EQ(writes.size(), 2);
}

TEST_F(GadgetManagerTest, AGoneManagerWritesNothingLater)
{
    feed("05 12 01 02 00 03 21");
    mgr->startTimer();
    mgr.reset();
    sched.advance(60000);
    EXPECT_EQ(writes.size(), 2);
    EXPECT_EQ(sched.pendingCount(), 0);
}

TEST_F(GadgetManagerTest, StatefulBuilders)
{
    EXPECT_EQ(hex(mgr->sendSetCurrentTimeData()), hex(g::sendSetCurrentTimeData(sched.now())));
    EXPECT_EQ(hex(*mgr->sendSynchronousDeviceFileData(QStringLiteral("x"))), QStringLiteral("13 12 38 02 78 00 b2 28"));
    EXPECT_TRUE(mgr->synchronousData().isEmpty());
    EXPECT_FALSE(mgr->sendSynchronousDeviceFileData(QString(300, QLatin1Char('x'))));
}

// The whole road: a gadget behind the central notifies, the answers go back out as
// writes with response on its write characteristic.
TEST(GadgetOverCentral, HandshakeConversation)
{
    using namespace platform::bleprop;
    ManualScheduler sched;
    FakeBleAdapter adapter;

    const QString id = QStringLiteral("C0:11:22:33:44:09");
    const QString notifyUuid = QStringLiteral("A8253F02-0C51-4000-B84F-1500068FB5A3");
    const QString writeUuid = QStringLiteral("A8253F04-0C51-4000-B84F-1500068FB5A3");
    FakeBleAdapter::Peripheral p;
    p.id = id;
    p.name = QString::fromLatin1(ble::kMouseName);
    p.advertisedServices = {QString::fromLatin1(ble::kMouseServiceUuid)};
    p.services = {{QString::fromLatin1(ble::kMouseServiceUuid),
                   {{QStringLiteral("A8253F03-0C51-4000-B84F-1500068FB5A3"), Read, {}},
                    {notifyUuid, Notify, {}},
                    {writeUuid, Write, {}},
                    {QStringLiteral("A8253F06-0C51-4000-B84F-1500068FB5A3"), WriteWithoutResponse, {}},
                    {QStringLiteral("A8253F05-0C51-4000-B84F-1500068FB5A3"), Notify, {}}}}};
    adapter.addPeripheral(p);

    struct Forwarder : RecordingBleManagerDelegate {
        QXBLECommandManager *gadget = nullptr;
        QList<int> results;
        void eventTypeConvertDataToHexStr(const QByteArray &value) override
        {
            gadget->eventTypeConvertDataToHexStr(value, [this](int r, const QString &, qint64) { results << r; });
        }
    } app;
    auto central = std::make_unique<QXBLEManager>(adapter.factory(), &app);
    QXBLECommandManager gadget([&](const QByteArray &f) { return central->sendData(f); });
    app.gadget = &gadget;

    // Nothing connected yet: the answer has nowhere to go and is dropped.
    gadget.startTimer();
    sched.advance(5000);
    EXPECT_TRUE(adapter.writes.isEmpty());
    gadget.invalidateTimer();

    central->startScan();
    sched.runDue();
    ASSERT_TRUE(adapter.advertise(id));
    for (int i = 0; i < 10 && !adapter.isSubscribed(id, notifyUuid); ++i)
        sched.runDue();
    ASSERT_TRUE(adapter.isSubscribed(id, notifyUuid));

    ASSERT_TRUE(adapter.notify(id, notifyUuid, QByteArray::fromHex("05 12 01 02 00 03 21")));
    sched.runDue();
    sched.advance(200);
    EXPECT_EQ(app.results, QList<int>{1});
    QStringList written;
    for (const auto &w : adapter.writes) {
        EXPECT_EQ(w.characteristic.characteristic, writeUuid);
        EXPECT_EQ(w.mode, platform::BleWriteMode::WithResponse);
        written << hex(w.data);
    }
    EXPECT_EQ(written, (QStringList{kHandshake, kHandshake, kDeviceInfo, kMac}));
    central.reset(); // before its adapter
}
