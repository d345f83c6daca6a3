// The Bluetooth LE firmware transfer over a connected fake central: the writes each
// reply calls for, the MTU check, refusals, cancels and a link that goes away.
#include "BleFirmwareTransfer.h"
#include "DeviceWorld.h"
#include "FirmwareTestImages.h"
#include "NotificationNames.h"
#include "QXBLEMouseCommandManager.h"
#include "device_commands/ConnectedBleMouse.h"

#include <gtest/gtest.h>

using fwtest::mouseFile;
using Effect = BleFirmwareTransfer::ReplyEffect;
using Phase = BleFirmwareTransfer::Phase;

namespace {

const QString kSuccess = QString::fromLatin1(qx::notify::kUpdateOTASuccessNotification);
const QString kFail = QString::fromLatin1(qx::notify::kUpdateOTAFailNotification);
const QString kCancel = QString::fromLatin1(qx::notify::kUpdateOTACancelNotification);

class BleFirmwareFlow : public ::testing::Test, protected DeviceWorld {
protected:
    BleFirmwareFlow()
    {
        ota().setImagePathSource([this] { return path; });
        path = folder.write("e1.txt", mouseFile(fwtest::lines(300)));
    }

    BleFirmwareTransfer &ota() { return mgr.firmwareTransfer(); }
    // The hex of every firmware write since the last call (all must be without response).
    QStringList take()
    {
        QStringList out;
        for (const FakeBleAdapter::Write &w : ble.adapter.writes) {
            EXPECT_EQ(w.characteristic.characteristic.toUpper(), ConnectedBleMouse::kOtaWrite);
            EXPECT_EQ(w.mode, platform::BleWriteMode::WithoutResponse);
            out << QString::fromLatin1(w.data.toHex());
        }
        ble.adapter.writes.clear();
        return out;
    }
    ConnectedBleMouse ble;
    QXBLEMouseCommandManager mgr{ble.central.get(), nullptr, fakes.seams()};
    fwtest::ImageFolder folder;
    QString path;
};

TEST_F(BleFirmwareFlow, ThreeHundredLinesInThreePackets)
{
    ble.connect(sched);
    ota().sendStartOTAData();
    EXPECT_EQ(take(), QStringList{"4d04704c"});

    EXPECT_EQ(ota().handleFirmwareReply(0x70, 0), Effect::Continued);
    QStringList w = take();
    ASSERT_EQ(w.size(), 1);
    EXPECT_EQ(w[0].size(), 2 * 133);
    EXPECT_TRUE(w[0].startsWith("4d857100000001"));

    EXPECT_EQ(ota().handleOtaNotification(QByteArray::fromHex("4d71004c")), Effect::Continued);
    w = take();
    ASSERT_EQ(w.size(), 1);
    EXPECT_TRUE(w[0].startsWith("4d857101008081"));

    ota().handleFirmwareReply(0x71, 0);
    w = take();
    ASSERT_EQ(w.size(), 1);
    EXPECT_EQ(w[0].size(), 2 * 49);
    EXPECT_TRUE(w[0].startsWith("4d3171020000"));

    ota().handleFirmwareReply(0x71, 0);
    EXPECT_EQ(take(), QStringList{"4d0c722c010000328300004c"});
    EXPECT_EQ(mgr.otaDataTotalLength(), 300);
    EXPECT_EQ(mgr.otaDataChecksum(), 33586);
    EXPECT_EQ(notes.firmwareProgress(), QList<int>({0, 33, 66, 100}));
    EXPECT_TRUE(notes.firmwareEnds().isEmpty());

    EXPECT_EQ(ota().handleFirmwareReply(0x72, 0), Effect::Succeeded);
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kSuccess});
    EXPECT_EQ(ota().handleFirmwareReply(0x72, 0), Effect::Ignored);
    EXPECT_EQ(notes.firmwareEnds().size(), 1);
}

TEST_F(BleFirmwareFlow, ALinkWithTooSmallAnMtuIsRefusedNotCut)
{
    struct Row {
        int mtu;
        int lines;
        bool starts;
    };
    const Row rows[] = {
        {135, 300, false},                                  // a full packet is 133 bytes, plus 3 of the write
        {136, 300, true},  {23, 300, false}, {23, 3, true}, // 8-byte packet, 12-byte end frame: fits the minimum
        {30, 30, false},
    };
    ble.connect(sched);
    for (const Row &r : rows) {
        path = folder.write("img.txt", mouseFile(fwtest::lines(r.lines)));
        ble.adapter.setMtu(r.mtu);
        notes.clear();
        ota().sendStartOTAData();
        EXPECT_EQ(take(), r.starts ? QStringList{"4d04704c"} : QStringList()) << r.mtu << "/" << r.lines;
        EXPECT_EQ(notes.firmwareEnds(), r.starts ? QStringList() : QStringList{kFail}) << r.mtu << "/" << r.lines;
        EXPECT_EQ(ota().isOTATransferActive(), r.starts);
        ota().sendCancelOTAData();
        take();
    }
    EXPECT_TRUE(fakes.tips.tips.empty()); // the image was fine
}

TEST_F(BleFirmwareFlow, RefusalsAndImagesEndInOneFailure)
{
    // Nothing connected.
    ota().sendStartOTAData();
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kFail});

    ble.connect(sched);
    // A refused start.
    notes.clear();
    ota().sendStartOTAData();
    take();
    EXPECT_EQ(ota().handleFirmwareReply(0x70, 1), Effect::Failed);
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kFail});
    EXPECT_TRUE(take().isEmpty());

    // A refused packet: the end frame with the totals as stored, then the mouse's verdict.
    notes.clear();
    ota().sendStartOTAData();
    ota().handleFirmwareReply(0x70, 0);
    take();
    EXPECT_EQ(ota().handleFirmwareReply(0x71, 3), Effect::Continued);
    EXPECT_EQ(take(), QStringList{"4d0c7200000000000000004c"});
    EXPECT_EQ(ota().handleFirmwareReply(0x71, 0), Effect::Ignored);
    EXPECT_TRUE(take().isEmpty());
    EXPECT_EQ(ota().handleFirmwareReply(0x72, 1), Effect::Failed);
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kFail});

    // An image with a line that is not a byte.
    notes.clear();
    path = folder.write("bad.txt", mouseFile("01\r\n1ff\r\n"));
    ota().sendStartOTAData();
    EXPECT_TRUE(take().isEmpty());
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kFail});
    EXPECT_EQ(fakes.tips.tips.size(), 1u);
}

TEST_F(BleFirmwareFlow, CancelInEveryStateAndNothingAfterwards)
{
    ble.connect(sched);
    path = folder.write("small.txt", mouseFile("01\r\n02\r\n"));
    for (Phase s : {Phase::Idle, Phase::Starting, Phase::Sending, Phase::Ending}) {
        if (s >= Phase::Starting)
            ota().sendStartOTAData();
        if (s >= Phase::Sending)
            ota().handleFirmwareReply(0x70, 0);
        if (s >= Phase::Ending)
            ota().handleFirmwareReply(0x71, 0);
        ASSERT_EQ(ota().phase(), s);
        take();
        notes.clear();
        ota().sendCancelOTAData();
        EXPECT_EQ(take(), QStringList{"4d04744c"}) << int(s);
        EXPECT_EQ(notes.firmwareEnds(), s == Phase::Idle ? QStringList() : QStringList{kCancel}) << int(s);
        for (int event : {0x70, 0x71, 0x72, 0x74})
            EXPECT_EQ(ota().handleFirmwareReply(event, 0), Effect::Ignored) << int(s);
        EXPECT_TRUE(take().isEmpty()) << int(s);
        EXPECT_EQ(notes.firmwareEnds().size(), s == Phase::Idle ? 0 : 1) << int(s);
    }
}

TEST_F(BleFirmwareFlow, ALinkLostMidTransferFailsItOnce)
{
    ble.connect(sched);
    ota().sendStartOTAData();
    ota().handleFirmwareReply(0x70, 0);
    take();
    ASSERT_TRUE(ble.adapter.dropConnection(ConnectedBleMouse::kMouseId));
    sched.runDue();
    EXPECT_EQ(ota().handleFirmwareReply(0x71, 0), Effect::Failed);
    EXPECT_EQ(notes.firmwareEnds(), QStringList{kFail});
    EXPECT_FALSE(ota().isOTATransferActive());
}

TEST_F(BleFirmwareFlow, NotificationValuesThatAreNotRepliesAreIgnored)
{
    ble.connect(sched);
    ota().sendStartOTAData();
    for (const char *v : {"", "4d70", "4d70004d", "4c70004c", "4d10004c", "4d73004c"})
        EXPECT_EQ(ota().handleOtaNotification(QByteArray::fromHex(v)), Effect::Ignored) << v;
    EXPECT_EQ(ota().phase(), Phase::Starting);
}

} // namespace
