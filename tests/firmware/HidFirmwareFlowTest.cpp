// The HID firmware transfer driven through the report parser, report by report: the
// frames each reply calls for, progress, the terminal notification and the poll timer.
#include "DeviceWorld.h"
#include "FirmwareTestImages.h"
#include "HidFirmwareTransfer.h"
#include "NotificationNames.h"
#include "PZLog.h"

#include <gtest/gtest.h>

using fwtest::mouseFile;
using ImageFile = HidFirmwareTransfer::ImageFile;

namespace {

const QString kSuccess = QString::fromLatin1(qx::notify::kUpdateOTASuccessNotification);
const QString kFail = QString::fromLatin1(qx::notify::kUpdateOTAFailNotification);
const QString kCancel = QString::fromLatin1(qx::notify::kUpdateOTACancelNotification);

QByteArray R64(const char *hex)
{
    return RecordingHidSink::R(64, hex);
}

const QByteArray kAck = R64("0da54d04104c");

class HidFirmwareFlow : public ::testing::Test, protected HidProtocolWorld<> {
protected:
    HidFirmwareFlow()
    {
        parser.setOtaAckHandler(&hid.firmwareTransfer());
        hid.firmwareTransfer().setImagePathSource(
            [this](ImageFile f) { return f == ImageFile::Dongle ? donglePath : mousePath; });
        mousePath = folder.write("mouse.txt", mouseFile("01\r\nff\r\n10\r\n"));
        donglePath = folder.write("dongle.txt", "A\r\nB\r\nC\r\n0a\r\n0b\r\n");
        remotePath = folder.write("remote.txt", mouseFile("01\r\n02\r\n03"));
        setWriteLogHandler([this](const QString &line) { userLog << line; });
        hid.startTimer(); // the connection poll runs before a transfer
    }
    ~HidFirmwareFlow() override { setWriteLogHandler(nullptr); }

    void reply(const char *hex) { parser.eventTypeConvertDataToHexStr(R64(hex)); }

    fwtest::ImageFolder folder;
    QString mousePath;
    QString donglePath;
    QString remotePath;
    QStringList userLog;
};

TEST_F(HidFirmwareFlow, MouseTransferFromStartToTheReReadOfTheRestartedDevice)
{
    hid.sendStartOTAData();
    EXPECT_EQ(sent(), QList<QByteArray>{R64("0da64d04704c")});
    // The image was checked and kept at the start: a download replacing it now changes nothing.
    folder.write("mouse.txt", mouseFile("aa\r\nbb\r\n"));

    reply("0d5a4d7000");
    EXPECT_EQ(sent(), QList<QByteArray>({kAck, R64("0da64d0871000001ff10")}));
    EXPECT_FALSE(hid.isTimerRunning());
    EXPECT_EQ(hid.currentOTAIndex(), 0);

    reply("0d5a4d7100");
    EXPECT_EQ(sent(), QList<QByteArray>({kAck, R64("0da64d0c7203000000100100004c")}));
    EXPECT_EQ(hid.otaDataTotalLength(), 3);
    EXPECT_EQ(hid.otaDataChecksum(), 0x110);
    EXPECT_EQ(notes.firmwareProgress(), QList<int>({0, 100}));
    EXPECT_TRUE(notes.firmwareEnds().isEmpty());

    reply("0d5a4d7200");
    EXPECT_EQ(sent(), QList<QByteArray>{kAck});
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kSuccess});
    EXPECT_FALSE(st().mouseIsConnect());
    EXPECT_TRUE(hid.isTimerRunning());

    sched.advance(4999); // the poll asks at 3 s
    EXPECT_EQ(sent(), QList<QByteArray>{R64("0da54d04694c")});
    sched.advance(1); // the re-read at 5 s: not connected, so the connection query
    EXPECT_EQ(sent(), QList<QByteArray>{R64("0da54d04694c")});

    // A second verdict changes nothing.
    reply("0d5a4d7200");
    reply("0d5a4d7201");
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kSuccess});
}

TEST_F(HidFirmwareFlow, MouseRefusalsEndTheTransferWithOneFailure)
{
    // A refused start used to leave the page waiting.
    hid.sendStartOTAData();
    sent();
    reply("0d5a4d7001");
    EXPECT_EQ(sent(), QList<QByteArray>{kAck});
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kFail});
    EXPECT_TRUE(hid.isTimerRunning());

    // A refused packet: the end frame at once, with the totals as stored (none yet), which
    // the device fails.
    notes.clear();
    mousePath = folder.write("m58.txt", mouseFile(fwtest::lines(58)));
    hid.sendStartOTAData();
    reply("0d5a4d7000");
    sent();
    reply("0d5a4d71ff");
    EXPECT_EQ(sent(), QList<QByteArray>({kAck, R64("0da64d0c7200000000000000004c")}));
    EXPECT_TRUE(notes.firmwareEnds().isEmpty());
    reply("0d5a4d7100"); // a late acceptance does not resume the packets
    EXPECT_EQ(sent(), QList<QByteArray>{kAck});
    reply("0d5a4d7202");
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kFail});
    EXPECT_TRUE(hid.isTimerRunning());

    // The device's own cancel, whatever its status.
    notes.clear();
    hid.sendStartOTAData();
    reply("0d5a4d7000");
    reply("0d5a4d7405");
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kCancel});
    EXPECT_TRUE(hid.isTimerRunning());
}

TEST_F(HidFirmwareFlow, ReceiverTransferAndItsLoggedReplies)
{
    // The receiver's own path wins over the downloaded one.
    st().setDongleOTAFilePath(donglePath);
    donglePath = folder.write("other.txt", "x\r\ny\r\nz\r\n01\r\n");
    hid.sendStartOTADongleData();
    EXPECT_EQ(sent(), QList<QByteArray>{R64("0dbac0")});

    reply("0dabc0");
    EXPECT_EQ(sent(), QList<QByteArray>{R64("0dbac1010002000a0b")});
    EXPECT_EQ(hid.currentOTAIndex(), 1);
    EXPECT_FALSE(hid.isTimerRunning());
    reply("0dabc10100");
    EXPECT_EQ(sent(), QList<QByteArray>{R64("0dbac20200150000020000")});
    EXPECT_EQ(notes.firmwareProgress(), QList<int>({100, 100}));
    reply("0dabc2");
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kSuccess});
    EXPECT_FALSE(st().mouseIsConnect());
    EXPECT_TRUE(hid.isTimerRunning());
    ASSERT_EQ(userLog.size(), 3);
    EXPECT_TRUE(userLog[0].startsWith(QStringLiteral("\nreceiveData=0dabc0000000")));
    EXPECT_TRUE(userLog[0].endsWith(QStringLiteral("\n")));

    // An acknowledgement echoing another packet than the one sent is only logged: the
    // next packet goes out and the receiver's answer to the end frame decides.
    notes.clear();
    st().setDongleOTAFilePath(std::nullopt);
    donglePath = folder.write("d120.txt", fwtest::receiverFile(fwtest::lines(120)));
    hid.sendStartOTADongleData();
    reply("0dabc0");
    sent();
    reply("0dabc10700");
    const QList<QByteArray> next = sent();
    ASSERT_EQ(next.size(), 1);
    EXPECT_TRUE(next[0].startsWith(QByteArray::fromHex("0dbac1020039")));
    EXPECT_EQ(hid.currentOTAIndex(), 2);
    reply("0dabc1");
    reply("0dabc10000");
    EXPECT_EQ(sent().size(), 2); // the third packet and the end frame
    EXPECT_TRUE(notes.firmwareEnds().isEmpty());
    reply("0dabc2");
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kSuccess});
}

TEST_F(HidFirmwareFlow, RemoteControlTransferComparesTheEchoedIndex)
{
    st().mouseInfoItem().setDeviceType(4);
    mousePath = remotePath;
    hid.sendStartOTAData();
    EXPECT_EQ(sent(), QList<QByteArray>{R64("0d80bac0")});
    reply("0d81abc06400");
    EXPECT_EQ(sent(), QList<QByteArray>{R64("0d80bac1000003000102"
                                            "03")});
    reply("0d81abc10000");
    EXPECT_EQ(sent(), QList<QByteArray>{R64("0d80bac2010006000003"
                                            "0000")});
    reply("0d81abc2000055");
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kSuccess});
    EXPECT_FALSE(st().mouseIsConnect());

    // A mismatched echo ends the transfer with the stored totals; the device's 0x54 fails it.
    notes.clear();
    mousePath = folder.write("r113.txt", mouseFile(fwtest::lines(113)));
    hid.setOtaDataTotalLength(0);
    hid.setOtaDataChecksum(0);
    hid.sendStartOTAData();
    reply("0d81abc06400");
    reply("0d81abc10000");
    sent();
    reply("0d81abc10700");
    EXPECT_EQ(sent(), QList<QByteArray>{R64("0d80bac2010000000000"
                                            "0000")});
    reply("0d81abc2000054");
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kFail});
    EXPECT_TRUE(hid.isTimerRunning());
}

TEST_F(HidFirmwareFlow, CancelWorksInEveryStateAndLateRepliesFindNothing)
{
    enum class Target { Mouse, Receiver, Remote };
    enum class State { Idle, Starting, Sending, Ending };
    struct Drive {
        Target target;
        const char *accept; // the start reply
        const char *packet; // the reply to the only packet
        QList<QByteArray> cancel;
        QList<const char *> late;
    };
    const Drive drives[] = {
        {Target::Mouse,
         "0d5a4d7000",
         "0d5a4d7100",
         {R64("0da64d04744c")},
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
                    hid.sendStartOTADongleData();
                else
                    hid.sendStartOTAData();
            };
            if (s >= State::Starting)
                start();
            if (s >= State::Sending)
                reply(d.accept);
            if (s >= State::Ending)
                reply(d.packet);
            ASSERT_EQ(int(hid.firmwareTransfer().phase()), int(s)) << what.toStdString();
            sent();
            notes.clear();

            if (d.target == Target::Receiver)
                hid.sendCancelOTADongleData();
            else
                hid.sendCancelOTAData();
            EXPECT_EQ(sent(), d.cancel) << what.toStdString();
            EXPECT_EQ(notes.firmwareEnds(), s == State::Idle ? QStringList() : QStringList{kCancel})
                << what.toStdString();
            EXPECT_TRUE(hid.isTimerRunning()) << what.toStdString();
            EXPECT_FALSE(hid.firmwareTransfer().isOTATransferActive());

            // Whatever the device still sends sends nothing but the mouse's acknowledgements.
            for (const char *late : d.late)
                reply(late);
            for (const QByteArray &r : sent())
                EXPECT_EQ(r, kAck) << what.toStdString();
            EXPECT_EQ(notes.firmwareEnds().size(), s == State::Idle ? 0 : 1) << what.toStdString();
            EXPECT_TRUE(notes.firmwareProgress().isEmpty()) << what.toStdString();
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
        hid.sendStartOTAData();
        EXPECT_TRUE(sent().isEmpty()) << r.what;
        ASSERT_EQ(fakes.tips.tips.size(), 1u) << r.what;
        EXPECT_EQ(fakes.tips.tips[0].second, QStringLiteral("error_icon")) << r.what;
        EXPECT_EQ(notes.firmwareEnds(), QStringList{kFail}) << r.what;
        EXPECT_FALSE(hid.firmwareTransfer().isOTATransferActive()) << r.what;
        EXPECT_TRUE(hid.isTimerRunning()) << r.what;
    }
    // The receiver likewise.
    donglePath = folder.write("bad-dongle.txt", "a\r\nb\r\nc\r\n");
    notes.clear();
    hid.sendStartOTADongleData();
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kFail});
}

TEST_F(HidFirmwareFlow, OtherFamiliesTakeNoFirmware)
{
    st().setChipPlan(6);
    hid.sendStartOTAData();
    EXPECT_EQ(sent(), QList<QByteArray>{RecordingHidSink::R(21, "00")});
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kFail});
    notes.clear();
    hid.sendStartOTADongleData();
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kFail});
    hid.sendCancelOTADongleData();
    EXPECT_EQ(sent(), QList<QByteArray>{RecordingHidSink::R(21, "00")});
    hid.sendCancelOTAData();
    hid.sendOTAFileData();
    hid.sendEndOTAData();
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(HidFirmwareFlow, ProgressOfTwoMousePackets)
{
    mousePath = folder.write("m114.txt", mouseFile(QByteArray("00\r\n").repeated(114)));
    hid.sendStartOTAData();
    reply("0d5a4d7000");
    reply("0d5a4d7100");
    reply("0d5a4d7100");
    const QList<QByteArray> reports = sent();
    ASSERT_EQ(reports.size(), 7);
    EXPECT_EQ(reports[6], R64("0da64d0c7272000000000000004c"));
    EXPECT_EQ(notes.firmwareProgress(), QList<int>({0, 50, 100}));
}

} // namespace
