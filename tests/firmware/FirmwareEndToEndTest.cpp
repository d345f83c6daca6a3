// Whole transfers of a 300-line image to simulated bootloaders: over the real HID
// transport (paced output reports, input reports through the report parser) to the
// mouse, the receiver and the remote control, and over the fake Bluetooth LE central to
// the mouse, each with every scripted failure. The bootloaders decide success from
// what they reassembled, never from what the application believes it sent.
#include "BleFirmwareTransfer.h"
#include "FirmwareTestImages.h"
#include "HidFirmwareTransfer.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "SimFirmwareBootloader.h"
#include "device_commands/ConnectedBleMouse.h"
#include "hid_transport/HidTransportFixture.h"

#include <gtest/gtest.h>

#include <cstdio>

using Boot = sim::FirmwareBootloader;
using Kind = Boot::Kind;

namespace {

const QString kSuccess = QString::fromLatin1(qx::notify::kUpdateOTASuccessNotification);
const QString kFail = QString::fromLatin1(qx::notify::kUpdateOTAFailNotification);
const QString kCancel = QString::fromLatin1(qx::notify::kUpdateOTACancelNotification);
const QString kOtaNotify = QStringLiteral("A8253F05-0C51-4000-B84F-1500068FB5A3");

constexpr int kLines = 300;
constexpr int kNoCancel = -1;

// The image's bytes, some of every value.
int lineValue(int j)
{
    return (j * 37 + 11) & 0xff;
}

// Terminal notifications with the virtual time they came at.
class TerminalWatch {
public:
    explicit TerminalWatch(const ManualScheduler &clock) : m_clock(clock)
    {
        for (const QString &n : {kSuccess, kFail, kCancel})
            NotificationCenter::defaultCenter().addObserver(n, &m_context, [this, n](const QVariant &) {
                names << n;
                atMs << m_clock.monotonicMs();
            });
    }
    QStringList names;
    QList<qint64> atMs;

private:
    const ManualScheduler &m_clock;
    QObject m_context;
};

struct Scenario {
    const char *what;
    Boot::Script script;
    int cancelAtMs;   // the user cancels this long after the start
    QString terminal; // the one notification the page gets
    Boot::Result device;
};

// --- HID ---------------------------------------------------------------------------------------------

class HidFirmwareEndToEnd : public HidTransportTest {
protected:
    // The command manager and its parser, fresh for each transfer (no totals left over).
    struct Rig {
        explicit Rig(const DeviceSeams &seams) : mgr(seams) {}
        QXHidCommandManager mgr;
        QXHidReportParser parser{mgr};
    };

    ~HidFirmwareEndToEnd() override
    {
        if (hid)
            hid->setSinks(recordingSinks()); // the parser goes before the device
    }

    void open()
    {
        watch();
        rx = plugRow(9); // 0x3151/0x22AB: plan 2
        sched.advance(2000);
        ASSERT_EQ(st().chipPlan(), 2);
        st().setIsSupportKeySetting(true);
        st().setMouseIsConnect(true);
    }

    std::unique_ptr<Rig> rig(Kind kind, const QString &path)
    {
        auto r = std::make_unique<Rig>(fakes.seams());
        QXHidReportParser::Deps deps;
        deps.cancelPeripheralConnection = [] {};
        deps.startScan = [] {};
        r->parser.setDeps(deps);
        r->parser.attachTo(*hid);
        r->parser.setOtaAckHandler(&r->mgr.firmwareTransfer());
        r->mgr.setHidSink(hid.get());
        r->mgr.firmwareTransfer().setImagePathSource([path](HidFirmwareTransfer::ImageFile) { return path; });
        item().setDeviceType(kind == Kind::Remote ? 4 : 1);
        st().setMouseIsConnect(true);
        r->mgr.startTimer();
        return r;
    }

    static QByteArray file(Kind kind)
    {
        const QByteArray text = fwtest::lines(kLines, lineValue);
        return kind == Kind::Receiver ? fwtest::receiverFile(text) : fwtest::mouseFile(text);
    }

    void start(Kind kind, Rig &r)
    {
        if (kind == Kind::Receiver)
            r.mgr.sendStartOTADongleData();
        else
            r.mgr.sendStartOTAData();
    }
    void cancel(Kind kind, Rig &r)
    {
        if (kind == Kind::Receiver)
            r.mgr.sendCancelOTADongleData();
        else
            r.mgr.sendCancelOTAData();
    }

    void run(Kind kind, const QList<Scenario> &scenarios)
    {
        open();
        const QString path = folder.write("image.txt", file(kind));
        for (const Scenario &s : scenarios) {
            SCOPED_TRACE(s.what);
            sim::SimHidBootloader boot(*rx, kind, s.script);
            boot.device().setReference(fwtest::values(kLines, lineValue));
            auto r = rig(kind, path);
            TerminalWatch watch(sched);
            start(kind, *r);
            if (s.cancelAtMs != kNoCancel) {
                sched.advance(s.cancelAtMs);
                cancel(kind, *r);
            }
            sched.advance(30000);
            EXPECT_EQ(watch.names, QStringList{s.terminal});
            EXPECT_EQ(boot.device().result(), s.device);
            if (s.device == Boot::Result::Success) {
                EXPECT_EQ(boot.device().received(), fwtest::values(kLines, lineValue));
            }
            EXPECT_EQ(boot.device().malformed(), 0);
            EXPECT_TRUE(r->mgr.isTimerRunning());
            EXPECT_FALSE(r->mgr.firmwareTransfer().isOTATransferActive());
            // Nothing more reaches the device once the page has its answer.
            const QStringList seen = boot.device().events();
            sched.advance(60000);
            EXPECT_EQ(boot.device().events(), seen);
            EXPECT_EQ(watch.names.size(), 1);
            r.reset();
        }
    }

    fwtest::ImageFolder folder;
    std::unique_ptr<SimulatedReceiver> rx;
};

Boot::Script script(std::function<void(Boot::Script &)> f)
{
    Boot::Script s;
    f(s);
    return s;
}

const Boot::Script kClean;
const Boot::Script kRefuseStart = script([](Boot::Script &s) { s.refuseStart = true; });
const Boot::Script kRefusePacket2 = script([](Boot::Script &s) { s.refusePacket = 2; });
const Boot::Script kWrongIndex2 = script([](Boot::Script &s) { s.wrongIndexAt = 2; });
const Boot::Script kSilentFrom3 = script([](Boot::Script &s) { s.silentFrom = 3; });
const Boot::Script kSilentAtStart = script([](Boot::Script &s) { s.silentFrom = Boot::kSilentAtStart; });
const Boot::Script kLate = script([](Boot::Script &s) { s.replyDelayMs = 10000; });

TEST_F(HidFirmwareEndToEnd, Mouse)
{
    using R = Boot::Result;
    run(Kind::Mouse, {
                         {"clean", kClean, kNoCancel, kSuccess, R::Success},
                         {"start refused", kRefuseStart, kNoCancel, kFail, R::None},
                         {"packet 2 refused: end frame, device fails it", kRefusePacket2, kNoCancel, kFail, R::Failure},
                         {"silent from packet 3, cancelled", kSilentFrom3, 5000, kCancel, R::None},
                         {"late answers, cancelled first", kLate, 1000, kCancel, R::None},
                         {"clean again after all that", kClean, kNoCancel, kSuccess, R::Success},
                     });
}

TEST_F(HidFirmwareEndToEnd, Receiver)
{
    using R = Boot::Result;
    run(Kind::Receiver,
        {
            {"clean", kClean, kNoCancel, kSuccess, R::Success},
            // It refuses by echoing the last index it kept; the rest goes on, and it
            // leaves the end frame unanswered: only the user ends the wait.
            {"packet 2 refused: end frame unanswered, cancelled", kRefusePacket2, 5000, kCancel, R::Failure},
            {"wrong index echoed: logged, the transfer goes on", kWrongIndex2, kNoCancel, kSuccess, R::Success},
            {"silent from the start, cancelled", kSilentAtStart, 5000, kCancel, R::None},
            {"silent from packet 3, cancelled", kSilentFrom3, 5000, kCancel, R::None},
            {"late answers, cancelled first", kLate, 1000, kCancel, R::None},
        });
}

TEST_F(HidFirmwareEndToEnd, RemoteControl)
{
    using R = Boot::Result;
    run(Kind::Remote,
        {
            {"clean", kClean, kNoCancel, kSuccess, R::Success},
            {"packet 2 refused: end frame, device fails it", kRefusePacket2, kNoCancel, kFail, R::Failure},
            {"wrong index echoed: end frame, device fails it", kWrongIndex2, kNoCancel, kFail, R::Failure},
            {"silent from packet 3, cancelled", kSilentFrom3, 5000, kCancel, R::None},
            {"late answers, cancelled first", kLate, 1000, kCancel, R::None},
        });
}

// The device answers at once; what limits the transfer is the transport's pacing of one
// output report per 50 ms. Its floor is the reports the protocol needs up to the end
// frame, one pacing interval apart (the mouse's include the acknowledgement of each of
// its replies); the transfer must not take more than 5 % longer.
TEST_F(HidFirmwareEndToEnd, TransferTimeIsThePacingFloor)
{
    struct Row {
        Kind kind;
        const char *name;
        int packets;
        int reports; // from the start frame to the end frame
    };
    const Row rows[] = {
        {Kind::Mouse, "mouse", 6, 1 + 2 * (6 + 1)}, // start; per reply its acknowledgement and the next frame
        {Kind::Receiver, "receiver", 6, 1 + 6 + 1},
        {Kind::Remote, "remote", 6, 1 + 6 + 1},
    };
    open();
    for (const Row &row : rows) {
        const QString path = folder.write(QStringLiteral("t%1.txt").arg(int(row.kind)), file(row.kind));
        sim::SimHidBootloader boot(*rx, row.kind);
        auto r = rig(row.kind, path);
        TerminalWatch watch(sched);
        const qint64 t0 = sched.monotonicMs();
        start(row.kind, *r);
        sched.advance(10000);
        ASSERT_EQ(watch.names, QStringList{kSuccess}) << row.name;
        const qint64 took = watch.atMs[0] - t0;
        const qint64 floor = qint64(row.reports - 1) * HIDDevice::kPacingMs;
        std::printf("[ firmware ] HID %s: %d packets, %d reports, %lld ms (floor %lld ms)\n", row.name, row.packets,
                    row.reports, (long long)took, (long long)floor);
        EXPECT_GE(took, floor) << row.name;
        EXPECT_LE(took, floor * 105 / 100) << row.name;
        r.reset();
    }
}

// --- Bluetooth LE --------------------------------------------------------------------------------

class BleFirmwareEndToEnd : public ::testing::Test {
protected:
    // Stands in for the notification parser: hands the mouse's firmware replies over.
    struct Forwarder : RecordingBleManagerDelegate {
        BleFirmwareTransfer *transfer = nullptr;
        void eventTypeConvertDataToHexStr(const QByteArray &value) override
        {
            RecordingBleManagerDelegate::eventTypeConvertDataToHexStr(value);
            if (transfer)
                transfer->handleOtaNotification(value);
        }
    };

    BleFirmwareEndToEnd()
    {
        central = std::make_unique<QXBLEManager>(adapter.factory(), &app);
        mgr = std::make_unique<QXBLEMouseCommandManager>(central.get(), nullptr, fakes.seams());
        path = folder.write("image.txt", fwtest::mouseFile(fwtest::lines(kLines, lineValue)));
        mgr->firmwareTransfer().setImagePathSource([this] { return path; });
        app.transfer = &mgr->firmwareTransfer();
        adapter.addPeripheral(ConnectedBleMouse::mouse());
        central->startScan();
        sched.runDue();
        adapter.advertise(ConnectedBleMouse::kMouseId);
        sched.runDue();
    }
    ~BleFirmwareEndToEnd() override
    {
        mgr.reset();
        central.reset();
    }

    ManualScheduler sched;
    ScopedUserInfoData state;
    FakeNeighbours fakes;
    FakeBleAdapter adapter;
    Forwarder app;
    std::unique_ptr<QXBLEManager> central;
    std::unique_ptr<QXBLEMouseCommandManager> mgr;
    fwtest::ImageFolder folder;
    QString path;
};

TEST_F(BleFirmwareEndToEnd, MouseOverBluetoothLe)
{
    using R = Boot::Result;
    ASSERT_EQ(central->stateNOW(), QXBLEManager::kStateConnected);
    const Boot::Script kRefusePacket1 = script([](Boot::Script &s) { s.refusePacket = 1; });
    const Boot::Script kSilentFrom1 = script([](Boot::Script &s) { s.silentFrom = 1; });
    const QList<Scenario> scenarios = {
        {"clean", kClean, kNoCancel, kSuccess, R::Success},
        {"start refused", kRefuseStart, kNoCancel, kFail, R::None},
        {"packet 1 refused: end frame, mouse fails it", kRefusePacket1, kNoCancel, kFail, R::Failure},
        {"silent from packet 1, cancelled", kSilentFrom1, 5000, kCancel, R::None},
        {"late answers, cancelled first", kLate, 1000, kCancel, R::None},
    };
    for (const Scenario &s : scenarios) {
        SCOPED_TRACE(s.what);
        mgr->setOtaDataTotalLength(0);
        mgr->setOtaDataChecksum(0);
        sim::SimBleBootloader boot(adapter, ConnectedBleMouse::kMouseId, ConnectedBleMouse::kOtaWrite, kOtaNotify,
                                   s.script);
        boot.device().setReference(fwtest::values(kLines, lineValue));
        TerminalWatch watch(sched);
        mgr->firmwareTransfer().sendStartOTAData();
        if (s.cancelAtMs != kNoCancel) {
            sched.advance(s.cancelAtMs);
            mgr->firmwareTransfer().sendCancelOTAData();
        }
        sched.advance(30000);
        EXPECT_EQ(watch.names, QStringList{s.terminal});
        EXPECT_EQ(boot.device().result(), s.device);
        EXPECT_EQ(boot.oversizedWrites(), 0);
        EXPECT_EQ(boot.device().malformed(), 0);
        const QStringList seen = boot.device().events();
        sched.advance(60000);
        EXPECT_EQ(boot.device().events(), seen);
        EXPECT_EQ(watch.names.size(), 1);
    }

    // A link that cannot carry a full packet: refused, nothing written.
    adapter.setMtu(100);
    sim::SimBleBootloader boot(adapter, ConnectedBleMouse::kMouseId, ConnectedBleMouse::kOtaWrite, kOtaNotify);
    TerminalWatch watch(sched);
    adapter.writes.clear();
    mgr->firmwareTransfer().sendStartOTAData();
    sched.advance(30000);
    EXPECT_EQ(watch.names, QStringList{kFail});
    EXPECT_TRUE(adapter.writes.isEmpty());
    EXPECT_EQ(boot.device().starts(), 0);
}

// Over Bluetooth LE the mouse's answers are the only pacing: the floor is one answer
// time per frame (start, three packets, end).
TEST_F(BleFirmwareEndToEnd, TransferTimeIsTheAnswerFloor)
{
    constexpr int kAnswerMs = 30;
    sim::SimBleBootloader boot(adapter, ConnectedBleMouse::kMouseId, ConnectedBleMouse::kOtaWrite, kOtaNotify,
                               script([](Boot::Script &s) { s.replyDelayMs = kAnswerMs; }));
    boot.device().setReference(fwtest::values(kLines, lineValue));
    TerminalWatch watch(sched);
    const qint64 t0 = sched.monotonicMs();
    mgr->firmwareTransfer().sendStartOTAData();
    sched.advance(10000);
    ASSERT_EQ(watch.names, QStringList{kSuccess});
    EXPECT_EQ(boot.device().received(), fwtest::values(kLines, lineValue));
    const qint64 took = watch.atMs[0] - t0;
    const qint64 floor = (1 + 3 + 1) * kAnswerMs;
    std::printf("[ firmware ] Bluetooth LE: 3 packets, 5 frames, %lld ms (floor %lld ms)\n", (long long)took,
                (long long)floor);
    EXPECT_GE(took, floor);
    EXPECT_LE(took, floor * 105 / 100);
}

} // namespace
