// The about row over the real firmware road: an image offered by the local server is
// downloaded by the firmware manager, the row's button sends it over the HID transport
// to a simulated bootloader behind a simulated receiver, and the row shows the
// progress and the end.
#include "AboutMouseView.h"
#include "HidFirmwareTransfer.h"
#include "NetWorld.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXOTAUpdateManager.h"
#include "RecordingAlertPresenter.h"
#include "SimFirmwareBootloader.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "firmware/FirmwareTestImages.h"
#include "hid_transport/HidTransportFixture.h"
#include "platform/ShortcutBinder.h"

#include "PageWorld.h"

#include <QFileInfo>
#include <QTest>

namespace {
using Boot = sim::FirmwareBootloader;
constexpr int kLines = 300;
int lineValue(int j)
{
    return (j * 37 + 11) & 0xff;
}

// The row's firmware port over the firmware manager and the HID command manager.
class RealFirmware final : public IFirmwareUpdates {
public:
    RealFirmware(QXOTAUpdateManager &ota, QXHidCommandManager &hid) : m_ota(ota), m_hid(hid) {}
    void checkOTAInfo() override { m_ota.checkOTAInfo(); }
    void checkDongleOTAInfo() override { m_ota.checkDongleOTAInfo(); }
    bool needUpdate() override { return m_ota.needUpdate(); }
    bool needUpdateDongle() override { return m_ota.needUpdateDongle(); }
    void deleteOTAFile() override { m_ota.deleteOTAFile(); }
    void deleteDongleOTAFile() override { m_ota.deleteDongleOTAFile(); }
    void sendStartOTAData() override { m_hid.sendStartOTAData(); }
    void sendCancelOTAData() override { m_hid.sendCancelOTAData(); }
    void sendStartOTADongleData() override { m_hid.sendStartOTADongleData(); }
    void sendCancelOTADongleData() override { m_hid.sendCancelOTADongleData(); }

private:
    QXOTAUpdateManager &m_ota;
    QXHidCommandManager &m_hid;
};

class Pgs4Conversation : public HidTransportTest, protected NetWorld {
protected:
    void SetUp() override
    {
        watch();
        rx = plugRow(9); // a plan-2 receiver with its mouse
        sched.advance(2000);
        ASSERT_EQ(st().chipPlan(), 2);
        st().setIsSupportKeySetting(true);
        st().setMouseIsConnect(true);
        st().setProductCode(QStringLiteral("113"));
        item().setDeviceType(1);
        item().setFirmwareVersion(QStringLiteral("1.2"));
        QXHidReportParser::Deps parserDeps;
        parserDeps.cancelPeripheralConnection = [] {};
        parserDeps.startScan = [] {};
        parser.setDeps(parserDeps);
        parser.attachTo(*hid);
        parser.setOtaAckHandler(&mgr.firmwareTransfer());
        mgr.setHidSink(hid.get());
        mgr.firmwareTransfer().setImagePathSource([this](HidFirmwareTransfer::ImageFile) { return ota.filePath(); });
        mgr.startTimer();
        const QByteArray image = fwtest::mouseFile(fwtest::lines(kLines, lineValue));
        server.setHandler([this, image](const HttpRequestRecord &r) {
            if (r.path == "/api/upgrade")
                return HttpScriptedReply::json(
                    QStringLiteral(R"({"rc":0,"data":{"showNum":"1.3","num":"1.3","downloadUrl":"%1","type":"MOUSE"}})")
                        .arg(server.baseUrl() + "/x/fw_1.3.bin")
                        .toUtf8());
            return HttpScriptedReply::withContentType("application/octet-stream", image);
        });
    }
    ~Pgs4Conversation() override { hid->setSinks(recordingSinks()); }

    QXOTAUpdateManager::Deps otaDeps()
    {
        QXOTAUpdateManager::Deps d;
        d.store = &state.store();
        d.state = &st();
        d.alerts = &alerts;
        d.workspace = &workspace;
        d.appVersion = [] { return QStringLiteral("1.2.3"); };
        d.localize = [](const QString &key) { return key; };
        return d;
    }
    PageContext pageContext()
    {
        return PageContext{st(),
                           state.store(),
                           state.languages(),
                           NotificationCenter::defaultCenter(),
                           sched,
                           device,
                           ports,
                           firmware,
                           ports,
                           ports,
                           ports,
                           fakes.aiWindow,
                           fakes.translate,
                           fakes.tips,
                           alerts,
                           ports,
                           ports,
                           fakes.shell,
                           startAtLogin,
                           shortcuts,
                           workspace,
                           commands,
                           commandDialogs,
                           files,
                           accountHeaders,
                           hotWords,
                           {}};
    }
    // Offers, downloads and starts; returns the row.
    std::unique_ptr<AboutMouseView> offerAndStart()
    {
        auto row = std::make_unique<AboutMouseView>(pageContext());
        ota.checkOTAInfo();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !row->updateBtn()->isHidden(); }, 5000)) << "offered";
        row->updateBtn()->click();
        return row;
    }

    std::unique_ptr<SimulatedReceiver> rx;
    QXHidCommandManager mgr{fakes.seams()};
    QXHidReportParser parser{mgr};
    RecordingAlertPresenter alerts;
    FakeWorkspace workspace;
    FakeCommandModel commands;
    FakeAddCommandDialogs commandDialogs;
    FakeHotWordEntries hotWords;
    ScriptedFilePicker files;
    FakeAccountHeaders accountHeaders;
    QXOTAUpdateManager ota{otaDeps()};
    RealFirmware firmware{ota, mgr};
    RecordingMouseCommands device{fakes.log};
    RecordingPagePorts ports{fakes.log};
    FakeStartAtLogin startAtLogin;
    FakeGlobalShortcuts grabs;
    platform::ShortcutBinder shortcuts{state.store(), &grabs};
};
} // namespace

TEST_F(Pgs4Conversation, AnOfferedImageReachesTheMouseAndIsThenDeleted)
{
    sim::SimHidBootloader boot(*rx, Boot::Kind::Mouse);
    boot.device().setReference(fwtest::values(kLines, lineValue));
    QStringList progress;
    NotificationCenter::defaultCenter().addObserver(QString::fromLatin1(qx::notify::kUpdateOTAProgressNotification),
                                                    &context, [&](const QVariant &) { progress << "p"; });
    auto row = offerAndStart();
    const QString image = ota.filePath();
    ASSERT_TRUE(QFileInfo::exists(image));
    EXPECT_EQ(row->updateBtn()->title(), "取消升级");
    sched.advance(30000);
    EXPECT_EQ(boot.device().result(), Boot::Result::Success);
    EXPECT_FALSE(progress.isEmpty());
    EXPECT_EQ(fakes.tips.tips.back(), std::make_pair(QStringLiteral("升级成功"), QStringLiteral("success_icon")));
    EXPECT_EQ(row->updateBtn()->title(), "升级设备固件");
    EXPECT_EQ(row->progressLabel()->text(), "");
    EXPECT_FALSE(QFileInfo::exists(image));
    EXPECT_FALSE(ota.needUpdate());
}

TEST_F(Pgs4Conversation, ARefusedPacketFailsTheTransferAndKeepsTheImage)
{
    sim::FirmwareBootloaderScript refuse;
    refuse.refusePacket = 2;
    sim::SimHidBootloader boot(*rx, Boot::Kind::Mouse, refuse);
    auto row = offerAndStart();
    sched.advance(30000);
    EXPECT_EQ(fakes.tips.tips.back(), std::make_pair(QStringLiteral("升级失败"), QStringLiteral("error_icon")));
    EXPECT_TRUE(ota.needUpdate());
    EXPECT_TRUE(row->isUpdating()); // the button keeps "取消升级" until clicked
    row->updateBtn()->click();
    EXPECT_EQ(row->updateBtn()->title(), "升级设备固件");
}
