// The device page over the real HID command side of a plan-7 receiver and the maker's
// API on a local server: what each pick sends to the device and to the server, and
// what the device's own answer does to the page.
#include "KeySettingView.h"
#include "MouseSettingViewController.h"

#include "DeviceWorld.h"
#include "FrameDecoder.h"
#include "NetWorld.h"
#include "PageWorld.h"
#include "QXOTAUpdateManager.h"
#include "controls/QXPopUpButton.h"

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class HidPort final : public IHidOnlyCommands {
public:
    explicit HidPort(QXHidCommandManager &hid) : m_hid(hid) {}
    void sendOpenRGBData() override { m_hid.sendOpenRGBData(); }
    void sendCloseRGBData() override { m_hid.sendCloseRGBData(); }
    void modifyReturnRate(qint64 rate) override { m_hid.modifyReturnRate(rate); }
    void sendGetXunFeiChipDeviceInfoData() override { m_hid.sendGetXunFeiChipDeviceInfoData(); }

private:
    QXHidCommandManager &m_hid;
};

class ApiPort final : public IMakerApi {
public:
    explicit ApiPort(QXHttpRequestManager &http) : m_http(http) {}
    void httpRequestWithScene(std::shared_ptr<QXNetBaseScene> scene, QXSceneCallback callback) override
    {
        m_http.httpRequestWithScene(std::move(scene), std::move(callback));
    }
    bool validNetworkIsNotReable() const override { return false; }

private:
    QXHttpRequestManager &m_http;
};

// The firmware checks of the real update manager; the rest is recorded.
class CheckingFirmware final : public RecordingPagePorts {
public:
    CheckingFirmware(CallLog &log, QXOTAUpdateManager &ota) : RecordingPagePorts(log), m_ota(ota) {}
    void checkOTAInfo() override { m_ota.checkOTAInfo(); }
    void checkDongleOTAInfo() override { m_ota.checkDongleOTAInfo(); }

private:
    QXOTAUpdateManager &m_ota;
};

const QByteArray kAttr0 = R"({"keyCode":1} a&b=c#d)";

class Pgs2KeyConversation : public ::testing::Test, protected HidProtocolWorld<>, protected NetWorld {
protected:
    RecordingPagePorts ports{fakes.log};
    RecordingAlertPresenter alerts;
    FakeStartAtLogin startAtLogin;
    FakeGlobalShortcuts grabs;
    platform::ShortcutBinder shortcuts{state.store(), &grabs};
    FakeWorkspace workspace;
    FakeCommandModel commands;
    FakeAddCommandDialogs dialogs;
    ScriptedFilePicker files;
    FakeAccountHeaders accountHeaders;
    FakeHotWordEntries hotWords;
    HidPort hidPort{hid};
    ApiPort api{client()};
    QXOTAUpdateManager ota{otaDeps()};
    CheckingFirmware firmware{fakes.log, ota};
    std::unique_ptr<MouseSettingViewController> vc;

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
    void SetUp() override
    {
        plan(7);
        ids = {0x248A, 0x67AC};
        st().setProductCode("523");
        item().setSn("S9");
        server.setHandler([](const HttpRequestRecord &r) {
            if (r.path.endsWith("/getModelInfo"))
                return HttpScriptedReply::json(R"({"rc":0,"data":{"id":"M7",
                    "functions":[{"name":"ReportRate","code":"125,500,1000"}],
                    "keyInfos":[{"key":"1","name":"K","childs":[{"name":"p","childs":[
                      {"name":"A","cmd":"Action_VT","first":"1"},
                      {"name":"B","cmd":"Action_VI","cmdId":"c2","attr0":"{\"keyCode\":1} a&b=c#d"}]}]}]}})");
            return HttpScriptedReply::json(R"({"rc":0,"data":{}})");
        });
        launch();
        ASSERT_TRUE(QTest::qWaitFor([this] { return vc->keyViews().size() == 2; }, 5000));
        sent();
    }
    // The device page as a launch makes it, its view shown.
    void launch()
    {
        vc = std::make_unique<MouseSettingViewController>(PageContext{st(),
                                                                      state.store(),
                                                                      state.languages(),
                                                                      NotificationCenter::defaultCenter(),
                                                                      sched,
                                                                      facade,
                                                                      hidPort,
                                                                      firmware,
                                                                      ports,
                                                                      api,
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
                                                                      dialogs,
                                                                      files,
                                                                      accountHeaders,
                                                                      hotWords,
                                                                      {}});
        vc->view()->resize(880, 720);
    }
    void pick(int block, int row, int index)
    {
        vc->keyViews().at(block)->rows().at(row)->popUpBtn()->allMenuItem().at(index)->trigger();
    }
    QStringList frames()
    {
        QStringList out;
        for (const QByteArray &r : sent()) {
            const auto d = sim::FrameDecoder::decodeHid(7, r);
            out << (d ? d->command + QString::number(d->args.value(0)) : QString::fromLatin1(r.toHex()));
        }
        return out;
    }
    QStringList saved(int count)
    {
        const auto saves = [this] {
            QStringList out;
            for (const HttpRequestRecord &r : server.requests())
                if (r.path.endsWith("/addCustomerKey"))
                    out << r.queryValue("attr0") + "|" + r.queryValue("userModelId");
            return out;
        };
        QTest::qWaitFor([&] { return saves().size() >= count; }, 5000);
        return saves();
    }
};

TEST_F(Pgs2KeyConversation, DpiRateAndKeyPicksReachTheirSideAndTheDeviceReMarksTheDpiRow)
{
    pick(1, 0, 2); // a DPI step: the frame only (plan 7 sends the step + 1)
    EXPECT_EQ(frames(), QStringList{"sendSetDpiData3"});
    pick(1, 1, 1); // a report rate: saved, then the frame
    EXPECT_EQ(frames(), QStringList{"modifyReturnRate1"});
    EXPECT_EQ(saved(1), QStringList{"|M7"});
    pick(0, 0, 1); // a key action: saved with its target as it is, nothing to the device
    EXPECT_EQ(saved(2).last(), QString::fromUtf8(kAttr0) + "|M7");
    EXPECT_TRUE(frames().isEmpty());

    // The device reports DPI step 3 and a new serial number: the row follows, the
    // profile is fetched and both firmware checks reach the server.
    parser.eventTypeConvertDataToHexStr(R(21, "a6134d6151582023120600000001070204125"
                                              "01b01"),
                                        [](int, int) {});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(vc->keyViews().last()->rows().first()->popUpBtn()->selectIndex(), 3);
    QStringList checks;
    QTest::qWaitFor(
        [&] {
            checks.clear();
            for (const HttpRequestRecord &r : server.requests())
                if (r.path.endsWith("/upgrade"))
                    checks << r.queryValue("type");
            return checks.size() == 2;
        },
        5000);
    EXPECT_EQ(checks, QStringList({"MOUSE", "USB"}));
}

// A key save drops the cached profile; the next launch finds the server out of reach
// and shows the keys of the profile it last parsed, not an empty page.
using FinStoredKeys = Pgs2KeyConversation;

TEST_F(FinStoredKeys, ALaunchAfterASaveWithTheServerOutOfReachShowsTheStoredKeys)
{
    pick(0, 0, 1);
    saved(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return state.store().stringValue("523_S9").isEmpty(); }, 5000));
    server.setHandler([](const HttpRequestRecord &) { return HttpScriptedReply::html(503, "<p>down</p>"); });
    const int asked = int(server.requests().size());
    launch();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return server.requests().size() > asked && !client().requestsInFlight(); }, 5000));
    QCoreApplication::processEvents();
    ASSERT_EQ(vc->keyViews().size(), 2);
    EXPECT_EQ(vc->keyViews().first()->rows().first()->popUpBtn()->allMenuItem().size(), 2);
}

} // namespace
