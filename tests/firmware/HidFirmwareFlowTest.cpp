// The HID firmware transfer driven through the report parser, report by report: the
// frames each reply calls for, progress, the terminal notification and the poll timer.
#include "FakeNeighbours.h"
#include "FirmwareTestImages.h"
#include "HidFirmwareTransfer.h"
#include "ManualScheduler.h"
#include "NotificationNames.h"
#include "NotificationRecorder.h"
#include "PZLog.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "RecordingHidSink.h"
#include "ScopedUserInfoData.h"

#include <gtest/gtest.h>

using fwtest::mouseFile;
using ImageFile = HidFirmwareTransfer::ImageFile;

namespace {

const QString kSuccess = QString::fromLatin1(qx::notify::kUpdateOTASuccessNotification);
const QString kFail = QString::fromLatin1(qx::notify::kUpdateOTAFailNotification);
const QString kCancel = QString::fromLatin1(qx::notify::kUpdateOTACancelNotification);
const QString kProgress = QString::fromLatin1(qx::notify::kUpdateOTAProgressNotification);

QByteArray R64(const char *hex)
{
    return RecordingHidSink::R(64, hex);
}

const QByteArray kAck = R64("0da54d04104c");

class HidFirmwareFlow : public ::testing::Test {
protected:
    HidFirmwareFlow()
    {
        st().setChipPlan(2);
        st().setIsSupportKeySetting(true);
        st().setMouseIsConnect(true);
        st().mouseInfoItem().setDeviceType(1);
        mgr.setHidSink(&sink);
        QXHidReportParser::Services services;
        services.cancelPeripheralConnection = [] {};
        services.startScan = [] {};
        services.currentIds = [] { return std::pair<quint16, quint16>(0x3151, 0x22ab); };
        parser.setServices(services);
        parser.setOtaAckHandler(&mgr.firmwareTransfer());
        mgr.firmwareTransfer().setImagePathSource(
            [this](ImageFile f) { return f == ImageFile::Dongle ? donglePath : mousePath; });
        mousePath = folder.write("mouse.txt", mouseFile("01\r\nff\r\n10\r\n"));
        donglePath = folder.write("dongle.txt", "A\r\nB\r\nC\r\n0a\r\n0b\r\n");
        remotePath = folder.write("remote.txt", mouseFile("01\r\n02\r\n03"));
        setWriteLogHandler([this](const QString &line) { userLog << line; });
        mgr.startTimer(); // the connection poll runs before a transfer
    }
    ~HidFirmwareFlow() override { setWriteLogHandler(nullptr); }

    QXUserInfoData &st() { return state.state(); }
    void reply(const char *hex) { parser.eventTypeConvertDataToHexStr(R64(hex)); }
    QList<QByteArray> take()
    {
        QList<QByteArray> r = sink.reports;
        sink.reports.clear();
        return r;
    }
    QStringList terminals() const
    {
        QStringList out;
        for (const QString &n : notes.names())
            if (n == kSuccess || n == kFail || n == kCancel)
                out << n;
        return out;
    }
    QList<int> progress() const
    {
        QList<int> out;
        for (int i = 0; i < notes.names().size(); ++i)
            if (notes.names()[i] == kProgress)
                out << notes.payloads()[i].toInt();
        return out;
    }

    ManualScheduler scheduler;
    ScopedUserInfoData state;
    FakeNeighbours fakes;
    RecordingHidSink sink;
    QXHidCommandManager mgr{fakes.seams()};
    QXHidReportParser parser{mgr};
    NotificationRecorder notes;
    fwtest::ImageFolder folder;
    QString mousePath;
    QString donglePath;
    QString remotePath;
    QStringList userLog;
};

TEST_F(HidFirmwareFlow, MouseTransferFromStartToTheReReadOfTheRestartedDevice)
{
    mgr.sendStartOTAData();
    EXPECT_EQ(take(), QList<QByteArray>{R64("0da64d04704c")});
    // The image was checked and kept at the start: a download replacing it now changes nothing.
    folder.write("mouse.txt", mouseFile("aa\r\nbb\r\n"));

    reply("0d5a4d7000");
    EXPECT_EQ(take(), QList<QByteArray>({kAck, R64("0da64d0871000001ff10")}));
    EXPECT_FALSE(mgr.isTimerRunning());
    EXPECT_EQ(mgr.currentOTAIndex(), 0);

    reply("0d5a4d7100");
    EXPECT_EQ(take(), QList<QByteArray>({kAck, R64("0da64d0c7203000000100100004c")}));
    EXPECT_EQ(mgr.otaDataTotalLength(), 3);
    EXPECT_EQ(mgr.otaDataChecksum(), 0x110);
    EXPECT_EQ(progress(), QList<int>({0, 100}));
    EXPECT_TRUE(terminals().isEmpty());

    reply("0d5a4d7200");
    EXPECT_EQ(take(), QList<QByteArray>{kAck});
    EXPECT_EQ(terminals(), QStringList{kSuccess});
    EXPECT_FALSE(st().mouseIsConnect());
    EXPECT_TRUE(mgr.isTimerRunning());

    scheduler.advance(4999); // the poll asks at 3 s
    EXPECT_EQ(take(), QList<QByteArray>{R64("0da54d04694c")});
    scheduler.advance(1); // the re-read at 5 s: not connected, so the connection query
    EXPECT_EQ(take(), QList<QByteArray>{R64("0da54d04694c")});

    // A second verdict changes nothing.
    reply("0d5a4d7200");
    reply("0d5a4d7201");
    EXPECT_EQ(terminals(), QStringList{kSuccess});
}

TEST_F(HidFirmwareFlow, MouseRefusalsEndTheTransferWithOneFailure)
{
    // A refused start used to leave the page waiting.
    mgr.sendStartOTAData();
    take();
    reply("0d5a4d7001");
    EXPECT_EQ(take(), QList<QByteArray>{kAck});
    EXPECT_EQ(terminals(), QStringList{kFail});
    EXPECT_TRUE(mgr.isTimerRunning());

    // A refused packet: the end frame at once, with the totals as stored (none yet), which
    // the device fails.
    notes.clear();
    mousePath = folder.write("m58.txt", mouseFile(fwtest::lines(58)));
    mgr.sendStartOTAData();
    reply("0d5a4d7000");
    take();
    reply("0d5a4d71ff");
    EXPECT_EQ(take(), QList<QByteArray>({kAck, R64("0da64d0c7200000000000000004c")}));
    EXPECT_TRUE(terminals().isEmpty());
    reply("0d5a4d7100"); // a late acceptance does not resume the packets
    EXPECT_EQ(take(), QList<QByteArray>{kAck});
    reply("0d5a4d7202");
    EXPECT_EQ(terminals(), QStringList{kFail});
    EXPECT_TRUE(mgr.isTimerRunning());

    // The device's own cancel, whatever its status.
    notes.clear();
    mgr.sendStartOTAData();
    reply("0d5a4d7000");
    reply("0d5a4d7405");
    EXPECT_EQ(terminals(), QStringList{kCancel});
    EXPECT_TRUE(mgr.isTimerRunning());
}

TEST_F(HidFirmwareFlow, ReceiverTransferAndItsLoggedReplies)
{
    // The receiver's own path wins over the downloaded one.
    st().setDongleOTAFilePath(donglePath);
    donglePath = folder.write("other.txt", "x\r\ny\r\nz\r\n01\r\n");
    mgr.sendStartOTADongleData();
    EXPECT_EQ(take(), QList<QByteArray>{R64("0dbac0")});

    reply("0dabc0");
    EXPECT_EQ(take(), QList<QByteArray>{R64("0dbac1010002000a0b")});
    EXPECT_EQ(mgr.currentOTAIndex(), 1);
    EXPECT_FALSE(mgr.isTimerRunning());
    reply("0dabc10100");
    EXPECT_EQ(take(), QList<QByteArray>{R64("0dbac20200150000020000")});
    EXPECT_EQ(progress(), QList<int>({100, 100}));
    reply("0dabc2");
    EXPECT_TRUE(take().isEmpty());
    EXPECT_EQ(terminals(), QStringList{kSuccess});
    EXPECT_FALSE(st().mouseIsConnect());
    EXPECT_TRUE(mgr.isTimerRunning());
    ASSERT_EQ(userLog.size(), 3);
    EXPECT_TRUE(userLog[0].startsWith(QStringLiteral("\nreceiveData=0dabc0000000")));
    EXPECT_TRUE(userLog[0].endsWith(QStringLiteral("\n")));

    // An acknowledgement of another packet than the one sent stops the transfer: the
    // receiver's answer to an end frame could only read as success.
    notes.clear();
    st().setDongleOTAFilePath(std::nullopt);
    donglePath = folder.write("d120.txt", fwtest::receiverFile(fwtest::lines(120)));
    mgr.sendStartOTADongleData();
    reply("0dabc0");
    take();
    reply("0dabc10700");
    EXPECT_EQ(take(), QList<QByteArray>{R64("00")});
    EXPECT_EQ(terminals(), QStringList{kFail});
    EXPECT_TRUE(mgr.isTimerRunning());
}

TEST_F(HidFirmwareFlow, RemoteControlTransferComparesTheEchoedIndex)
{
    st().mouseInfoItem().setDeviceType(4);
    mousePath = remotePath;
    mgr.sendStartOTAData();
    EXPECT_EQ(take(), QList<QByteArray>{R64("0d80bac0")});
    reply("0d81abc06400");
    EXPECT_EQ(take(), QList<QByteArray>{R64("0d80bac1000003000102" "03")});
    reply("0d81abc10000");
    EXPECT_EQ(take(), QList<QByteArray>{R64("0d80bac2010006000003" "0000")});
    reply("0d81abc2000055");
    EXPECT_EQ(terminals(), QStringList{kSuccess});
    EXPECT_FALSE(st().mouseIsConnect());

    // A mismatched echo ends the transfer with the stored totals; the device's 0x54 fails it.
    notes.clear();
    mousePath = folder.write("r113.txt", mouseFile(fwtest::lines(113)));
    mgr.setOtaDataTotalLength(0);
    mgr.setOtaDataChecksum(0);
    mgr.sendStartOTAData();
    reply("0d81abc06400");
    reply("0d81abc10000");
    take();
    reply("0d81abc10700");
    EXPECT_EQ(take(), QList<QByteArray>{R64("0d80bac2010000000000" "0000")});
    reply("0d81abc2000054");
    EXPECT_EQ(terminals(), QStringList{kFail});
    EXPECT_TRUE(mgr.isTimerRunning());
}

TEST_F(HidFirmwareFlow, CancelWorksInEveryStateAndLateRepliesFindNothing)
{
    enum class Target { Mouse, Receiver, Remote };
    enum class State { Idle, Starting, Sending, Ending };
    struct Drive {
        Target target;
        const char *accept;  // the start reply
        const char *packet;  // the reply to the only packet
        QList<QByteArray> cancel;
        QList<const char *> late;
    };
    const Drive drives[] = {
        {Target::Mouse, "0d5a4d7000", "0d5a4d7100", {R64("0da64d04744c")},
         {"0d5a4d7000", "0d5a4d7100", "0d5a4d7200", "0d5a4d7400"}},
        {Target::Receiver, "0dabc0", "0dabc10100", {R64("00")}, {"0dabc0", "0dabc10100", "0dabc2"}},
        {Target::Remote, "0d81abc06400", "0d81abc10000", {}, {"0d81abc06400", "0d81abc10000", "0d81abc2000055"}},
    };
    for (const Drive &d : drives) {
        for (State s : {State::Idle, State::Starting, State::Sending, State::Ending}) {
            const QString what = QStringLiteral("target %1, state %2").arg(int(d.target)).arg(int(s));
            st().mouseInfoItem().setDeviceType(d.target == Target::Remote ? 4 : 1);
            mousePath = d.target == Target::Remote ? remotePath : folder.path("mouse.txt");
            auto start = [&] {
                if (d.target == Target::Receiver)
                    mgr.sendStartOTADongleData();
                else
                    mgr.sendStartOTAData();
            };
            if (s >= State::Starting)
                start();
            if (s >= State::Sending)
                reply(d.accept);
            if (s >= State::Ending)
                reply(d.packet);
            ASSERT_EQ(int(mgr.firmwareTransfer().phase()), int(s)) << what.toStdString();
            take();
            notes.clear();

            if (d.target == Target::Receiver)
                mgr.sendCancelOTADongleData();
            else
                mgr.sendCancelOTAData();
            EXPECT_EQ(take(), d.cancel) << what.toStdString();
            EXPECT_EQ(terminals(), s == State::Idle ? QStringList() : QStringList{kCancel}) << what.toStdString();
            EXPECT_TRUE(mgr.isTimerRunning()) << what.toStdString();
            EXPECT_FALSE(mgr.firmwareTransfer().isOTATransferActive());

            // Whatever the device still sends sends nothing but the mouse's acknowledgements.
            for (const char *late : d.late)
                reply(late);
            for (const QByteArray &r : take())
                EXPECT_EQ(r, kAck) << what.toStdString();
            EXPECT_EQ(terminals().size(), s == State::Idle ? 0 : 1) << what.toStdString();
            EXPECT_TRUE(progress().isEmpty()) << what.toStdString();
        }
    }
}

TEST_F(HidFirmwareFlow, UnusableImagesAreRefusedBeforeAnythingIsSent)
{
    struct Row {
        const char *what;
        QByteArray file; // empty name: no file at all
        bool exists;
    };
    const Row rows[] = {
        {"no image downloaded", {}, false},
        {"shorter than its header", "HDR-1", true},
        {"only the header", fwtest::kHeader, true},
        {"a line that is not hexadecimal", mouseFile("01\r\n0x\r\n"), true},
        {"a line over 0xff", mouseFile("01\r\n1ff\r\n"), true},
        {"an HTML page", "<!DOCTYPE html>\r\n<html><body>Not Found</body></html>\r\n", true},
    };
    for (const Row &r : rows) {
        mousePath = r.exists ? folder.write("bad.txt", r.file) : QString();
        fakes.tips.tips.clear();
        notes.clear();
        mgr.sendStartOTAData();
        EXPECT_TRUE(take().isEmpty()) << r.what;
        ASSERT_EQ(fakes.tips.tips.size(), 1u) << r.what;
        EXPECT_EQ(fakes.tips.tips[0].second, QStringLiteral("error_icon")) << r.what;
        EXPECT_EQ(terminals(), QStringList{kFail}) << r.what;
        EXPECT_FALSE(mgr.firmwareTransfer().isOTATransferActive()) << r.what;
        EXPECT_TRUE(mgr.isTimerRunning()) << r.what;
    }
    // The receiver likewise.
    donglePath = folder.write("bad-dongle.txt", "a\r\nb\r\nc\r\n");
    notes.clear();
    mgr.sendStartOTADongleData();
    EXPECT_TRUE(take().isEmpty());
    EXPECT_EQ(terminals(), QStringList{kFail});
}

TEST_F(HidFirmwareFlow, OtherFamiliesTakeNoFirmware)
{
    st().setChipPlan(6);
    mgr.sendStartOTAData();
    EXPECT_EQ(take(), QList<QByteArray>{RecordingHidSink::R(21, "00")});
    EXPECT_EQ(terminals(), QStringList{kFail});
    notes.clear();
    mgr.sendStartOTADongleData();
    EXPECT_TRUE(take().isEmpty());
    EXPECT_EQ(terminals(), QStringList{kFail});
    mgr.sendCancelOTADongleData();
    EXPECT_EQ(take(), QList<QByteArray>{RecordingHidSink::R(21, "00")});
    mgr.sendCancelOTAData();
    mgr.sendOTAFileData();
    mgr.sendEndOTAData();
    EXPECT_TRUE(take().isEmpty());
}

TEST_F(HidFirmwareFlow, ProgressOfTwoMousePackets)
{
    mousePath = folder.write("m114.txt", mouseFile(QByteArray("00\r\n").repeated(114)));
    mgr.sendStartOTAData();
    reply("0d5a4d7000");
    reply("0d5a4d7100");
    reply("0d5a4d7100");
    const QList<QByteArray> sent = take();
    ASSERT_EQ(sent.size(), 7);
    EXPECT_EQ(sent[6], R64("0da64d0c7272000000000000004c"));
    EXPECT_EQ(progress(), QList<int>({0, 50, 100}));
}

} // namespace
