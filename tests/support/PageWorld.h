#pragma once

#include "FakeAccountHeaders.h"
#include "FakeAddCommandDialogs.h"
#include "FakeCommandModel.h"
#include "FakeDesktop.h"
#include "FakeGlobalShortcuts.h"
#include "FakeNeighbours.h"
#include "InstalledInstance.h"
#include "ManualScheduler.h"
#include "NotificationCenter.h"
#include "PageContext.h"
#include "PagePorts.h"
#include "QXHttpRequestManager.h"
#include "QXNetSceneState.h"
#include "ReceiverTable.h"
#include "RecordingAlertPresenter.h"
#include "ScopedUserInfoData.h"
#include "ScriptedFilePicker.h"
#include "platform/ShortcutBinder.h"
#include "services/IErrorAlert.h"
#include "services/IHotWordEntries.h"
#include "services/IImageLoader.h"
#include "services/IMouseCommands.h"
#include "services/IStartAtLogin.h"
#include "views/QXBaseView.h"

#include <QMap>
#include <QTimer>

#include <memory>
#include <utility>
#include <vector>

// Recorders of the pages' ports. Every call goes to one shared log as text
// ("sendSetDpiData(2)", "modifyReturnRate(1)"), so a test checks the order across them.
#define QX_RECORD(name)                                                                                                \
    void name() override                                                                                               \
    {                                                                                                                  \
        m_log.calls << QStringLiteral(#name);                                                                          \
    }
#define QX_RECORD_1(name, type)                                                                                        \
    void name(type v) override                                                                                         \
    {                                                                                                                  \
        m_log.calls << QStringLiteral(#name "(%1)").arg(v);                                                            \
    }

class RecordingMouseCommands : public IMouseCommands {
public:
    explicit RecordingMouseCommands(CallLog &log) : m_log(log) {}
    QX_RECORD(sendGetMouseInfoData)
    QX_RECORD(sendGetReceiveData)
    QX_RECORD(sendOpenMicData)
    QX_RECORD(sendCloseMicData)
    QX_RECORD(sendOpenLedData)
    QX_RECORD(sendCloseLedData)
    QX_RECORD(sendOpenPopUpWebSiteData)
    QX_RECORD(sendClosePopUpWebSiteData)
    QX_RECORD(sendOpenRGBLogoLEDData)
    QX_RECORD(sendCloseRGBLogoLEDData)
    QX_RECORD_1(sendSetDpiData, qint64)
    void sendKeyCommandDataKeyCode1(qint64 a, qint64 b) override
    {
        m_log.calls << QStringLiteral("sendKeyCommandDataKeyCode1(%1,%2)").arg(a).arg(b);
    }
    void sendSetBurnerInfoPID(qint64 pid, qint64 vid, qint64 dir, qint64 mode, qint64 type, qint64 site) override
    {
        m_log.calls << QStringLiteral("sendSetBurnerInfoPID(%1,%2,%3,%4,%5,%6)")
                           .arg(pid)
                           .arg(vid)
                           .arg(dir)
                           .arg(mode)
                           .arg(type)
                           .arg(site);
    }
    QX_RECORD(sendGetLightingEffectsModeData)
    QX_RECORD_1(sendSetLightingEffectsModeData, qint64)
    QX_RECORD(sendGetLightingEffectsBrightnessData)
    QX_RECORD_1(sendSetLightingEffectsBrightnessData, qint64)
    QX_RECORD(sendGetLightingEffectsSpeedData)
    QX_RECORD_1(sendSetLightingEffectsSpeedData, qint64)
    QX_RECORD(sendGetLightingEffectsColorData)
    QX_RECORD_1(sendSetLightingEffectsColorData, qint64)
    QX_RECORD(sendGetMouseLeftOrRightHandBehavior)
    QX_RECORD_1(sendSetMouseLeftOrRightHandBehaviorData, qint64)
    QX_RECORD_1(sendLaserPenDpiData, qint64)
    QX_RECORD_1(sendLaserPenShakeEffectData, double)
    QX_RECORD_1(sendLaserPenModeData, qint64)
    QX_RECORD(sendLaserPenEnterMouseStatusData)
    QX_RECORD(sendLaserPenQuitMouseStatusData)
    bool startVoice = false;
    qint64 press = 0;
    bool isStartVoice() const override { return startVoice; }
    void setIsStartVoice(bool on) override { startVoice = on; }
    qint64 pressType() const override { return press; }
    void setPressType(qint64 type) override { press = type; }

private:
    CallLog &m_log;
};

// The HID-only commands, the firmware (scripted: set the two flags), the receiver
// (settable ids, counted re-opens), the maker's API (answers held until a test gives
// them), the pictures (scripted by address; any other fails), the error alert and the
// permissions window in one recorder.
struct PendingLoad final : IImageLoader::Load {
    QObject context; // the answer goes with it
};

class RecordingPagePorts : public IHidOnlyCommands,
                           public IFirmwareUpdates,
                           public IReceiverIds,
                           public IMakerApi,
                           public IImageLoader,
                           public IErrorAlert,
                           public IPermissionsWindow {
public:
    explicit RecordingPagePorts(CallLog &log) : m_log(log) {}

    QX_RECORD(sendOpenRGBData)
    QX_RECORD(sendCloseRGBData)
    QX_RECORD_1(modifyReturnRate, qint64)
    QX_RECORD(sendGetXunFeiChipDeviceInfoData)

    bool mouseImage = false, dongleImage = false;
    QX_RECORD(checkOTAInfo)
    QX_RECORD(checkDongleOTAInfo)
    bool needUpdate() override { return mouseImage; }
    bool needUpdateDongle() override { return dongleImage; }
    QX_RECORD(deleteOTAFile)
    QX_RECORD(deleteDongleOTAFile)
    QX_RECORD(sendStartOTAData)
    QX_RECORD(sendCancelOTAData)
    QX_RECORD(sendStartOTADongleData)
    QX_RECORD(sendCancelOTADongleData)

    qint64 vid = 0, pid = 0;
    int reopens = 0;
    qint64 currentVid() const override { return vid; }
    qint64 currentPid() const override { return pid; }
    bool hasKeyboardHotKeys() const override { return qx::receivers::receiverHasKeyboardHotKeys(vid, pid); }
    bool hasFixedReportRate() const override
    {
        return qx::receivers::receiverHas(quint16(vid), quint16(pid), qx::receivers::kFixedReportRate);
    }
    void openHIDDevice() override
    {
        ++reopens;
        m_log.calls << QStringLiteral("openHIDDevice");
    }

    std::vector<std::pair<std::shared_ptr<QXNetBaseScene>, QXSceneCallback>> requests;
    bool offline = false;
    QXHttpRequestManager *http = nullptr; // when set, the scenes go to this client (a NetWorld's)
    void httpRequestWithScene(std::shared_ptr<QXNetBaseScene> scene, QXSceneCallback callback) override
    {
        m_log.calls << QStringLiteral("httpRequestWithScene");
        if (http)
            return http->httpRequestWithScene(std::move(scene), std::move(callback));
        requests.emplace_back(std::move(scene), std::move(callback));
    }
    bool validNetworkIsNotReable() const override { return offline; }

    // The bytes served per address; any other address fails. Answered from the event
    // loop, after loadImage returned, and not at all once the load is dropped.
    QMap<QUrl, QByteArray> images;
    std::unique_ptr<Load> loadImage(const QUrl &url, Done done) override
    {
        m_log.calls << QStringLiteral("loadImage(%1)").arg(url.toString());
        auto load = std::make_unique<PendingLoad>();
        const auto it = images.constFind(url);
        const bool found = it != images.constEnd();
        const QByteArray body = found ? *it : QByteArray();
        const QString error = found ? QString() : QStringLiteral("no picture at %1").arg(url.toString());
        QTimer::singleShot(0, &load->context,
                           [found, body, error, done = std::move(done)] { done(found, body, error); });
        return load;
    }

    void showErrorMsg(const QString &message, const QString &detail) override
    {
        m_log.calls << QStringLiteral("showErrorMsg(%1,%2)").arg(message, detail);
    }
    QX_RECORD(showPermissions)

private:
    CallLog &m_log;
};

#undef QX_RECORD
#undef QX_RECORD_1

// The hot-word entries as a plain list.
class FakeHotWordEntries : public IHotWordEntries {
public:
    QList<std::shared_ptr<QXVoiceCommandItem>> list;
    const QList<std::shared_ptr<QXVoiceCommandItem>> &hotWordListArray() override { return list; }
};

class FakeStartAtLogin : public IStartAtLogin {
public:
    bool on = false;
    bool accepts = true; // false: a change does not take effect
    bool startAtLogin() override { return on; }
    bool setStartAtLogin(bool value) override
    {
        if (accepts)
            on = value;
        return accepts;
    }
};

// What a page stands on in a test or a screen scene: its own notification centre, a
// fresh application state and language manager over an in-memory store and a
// temporary data root, virtual time, and a recorder behind every port. context() is
// a complete PageContext over them.
class PageWorld {
public:
    // A secret store keeps the state's remembered password (FakeSecretStore).
    explicit PageWorld(platform::ISecretStore *secrets = nullptr) : data(secrets) {}
    // The global shortcuts go to `backend` (a real X server's, say) instead of grabs.
    explicit PageWorld(platform::IGlobalShortcuts &backend) : shortcuts(data.store(), &backend) {}
    PageWorld(const PageWorld &) = delete;
    PageWorld &operator=(const PageWorld &) = delete;

    NotificationCenter notifications;
    ScopedInstall<NotificationCenter> installedNotifications{&notifications};
    ScopedUserInfoData data;
    // The maker's scenes (the device page's profile and key requests) read the state above.
    QXAppSceneState sceneState;
    ScopedInstall<QXNetSceneState> installedSceneState{&sceneState};
    ManualScheduler scheduler; // installed as the process's scheduler while it lives
    FakeNeighbours neighbours; // the AI window, translation, tips and shell; one log
    CallLog &log = neighbours.log;
    RecordingMouseCommands device{log};
    RecordingPagePorts ports{log};
    RecordingAlertPresenter alerts;
    FakeStartAtLogin startAtLogin;
    FakeGlobalShortcuts grabs;
    platform::ShortcutBinder shortcuts{data.store(), &grabs};
    FakeWorkspace workspace;
    FakeCommandModel commands;
    FakeAddCommandDialogs commandDialogs;
    FakeHotWordEntries hotWords;
    ScriptedFilePicker files;
    FakeAccountHeaders accountHeaders;
    // The transcription page another area hosts; here a blank stand-in unless a test or
    // a scene makes the real one.
    std::function<QXBaseView *(QWidget *)> transferAudioView = [](QWidget *parent) {
        auto *view = new QXBaseView(parent);
        view->setObjectName(QStringLiteral("transferAudioStandIn"));
        return view;
    };

    IAIWindow *aiWindow = nullptr; // when set, the pages reach this one instead of the fake

    QXUserInfoData &state() { return data.state(); }
    PageContext context()
    {
        return PageContext{
            .state = data.state(),
            .store = data.store(),
            .languages = data.languages(),
            .notifications = notifications,
            .scheduler = scheduler,
            .device = device,
            .hidCommands = ports,
            .firmware = ports,
            .receiver = ports,
            .api = ports,
            .images = ports,
            .aiWindow = aiWindow ? *aiWindow : neighbours.aiWindow,
            .translate = neighbours.translate,
            .tips = neighbours.tips,
            .alerts = alerts,
            .errorAlert = ports,
            .permissionsWindow = ports,
            .shell = neighbours.shell,
            .startAtLogin = startAtLogin,
            .shortcuts = shortcuts,
            .workspace = workspace,
            .commands = commands,
            .commandDialogs = commandDialogs,
            .files = files,
            .accountHeaders = accountHeaders,
            .hotWords = hotWords,
            .makeTransferAudioView = transferAudioView,
        };
    }
};
