#include "AppDelegate.h"

#include "AppSteps.h"
#include "HRVLocalizedString.h"
#include "MainThread.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXUserInfoData.h"
#include "ReceiverAudioInput.h"
#include "TPRDelayInvocation.h"
#include "services/IPopupTips.h"

#include <QPointer>

#include <utility>

AppDelegate::AppDelegate(Deps deps, QObject *parent) : QObject(parent), m_deps(deps), m_bleInfoKey(GroupKey::unique())
{
}

AppDelegate::~AppDelegate()
{
    notifications().removeObserver(this);
}

Scheduler &AppDelegate::scheduler() const
{
    return m_deps.scheduler ? *m_deps.scheduler : Scheduler::instance();
}

NotificationCenter &AppDelegate::notifications() const
{
    return m_deps.notifications ? *m_deps.notifications : NotificationCenter::defaultCenter();
}

void AppDelegate::applicationDidFinishLaunching()
{
    configData();
    const AppSteps &s = m_deps.steps;
    s.shell->configUI();
    s.shell->checkPermission(true);
    s.shell->probeReachability();
    s.shell->openCompanionApp();
    writeLog(QStringLiteral("启动完成------"));
}

void AppDelegate::configData()
{
    const AppSteps &s = m_deps.steps;
    s.shell->setIsFirstShow(true);
    s.shell->applyLightAppearance();
    // Voice comes from the device until a receiver or peripheral says otherwise.
    s.device->setIsFromMicData(false);
    s.device->startMonitor();
    s.shell->checkAppVersion();
    s.shell->openApp();
    s.shell->installExceptionWriter();
    s.voice->setAsrLanguageType(1);
    s.shell->addStatusItem();
    registerObservers();
    followConnection();
    s.voice->startCenterMouseMonitor();
    s.shell->startSelectionMonitors();
    s.shell->bindSnipShortcut();
    // What only a device needs waits for one: the launch does it when a receiver is
    // there, and a device that comes later gets it when it appears.
    const auto [vendorId, productId] = s.device->currentIds();
    if (vendorId != 0 || productId != 0)
        receiverAppeared();
    s.device->startScan();

    writeLog(QStringLiteral("\n\n"));
    writeLog(QString::fromLatin1(Q_FUNC_INFO));
    writeLog(QStringLiteral("configData完成-------"));
}

void AppDelegate::registerObservers()
{
    NotificationCenter &nc = notifications();
    nc.removeObserver(this);
    const auto on = [&](const char *name, void (AppDelegate::*handler)()) {
        nc.addObserver(QString::fromLatin1(name), this, [this, handler](const QVariant &) { (this->*handler)(); });
    };
    on(qx::notify::kUSBInsertNotification, &AppDelegate::usbDeviceConnectNotification);
    on(qx::notify::kUSBRemoveNotification, &AppDelegate::usbDeviceRemoveNotification);
    on(qx::notify::kBleConnectNotification, &AppDelegate::bleMouseConnect);
    on(qx::notify::kBleDisConnectNotification, &AppDelegate::bleMouseDisConnect);
    // The tab bar follows the device information itself; the log keeps what arrived.
    nc.addObserver(QString::fromLatin1(qx::notify::HadUSBInfoNotification), this,
                   [this](const QVariant &) { logDeviceState("device information"); });
    on(qx::notify::HadElectricInfoNotification, &AppDelegate::updateElectricInfo);
}

// The command tables, once the launch (or the device's event) has returned to the
// event loop; made once per process.
void AppDelegate::createCommandTables()
{
    if (std::exchange(m_tablesMade, true))
        return;
    QPointer<AppDelegate> self(this);
    postToMainThread([self] {
        if (!self)
            return;
        self->m_deps.steps.voice->createTable(QStringLiteral("DBCommonCmdList"));
        self->m_deps.steps.voice->createTable(QStringLiteral("DBCustomizeCmdList"));
    });
}

// The command tables, and the receiver's microphone as the default input.
void AppDelegate::followConnection()
{
    m_deps.steps.shell->watchPointer(m_deps.state->isConnect());
}

void AppDelegate::receiverAppeared()
{
    createCommandTables();
    const auto [vendorId, productId] = m_deps.steps.device->currentIds();
    m_deps.steps.voice->setDefaultInput(defaultInputDeviceName(vendorId, productId));
}

void AppDelegate::usbDeviceConnectNotification()
{
    followConnection();
    // A plugged receiver takes over from Bluetooth LE.
    m_deps.steps.device->cancelPeripheralConnection();
    m_deps.steps.shell->addStatusItem();
    receiverAppeared();
}

void AppDelegate::usbDeviceRemoveNotification()
{
    followConnection();
    m_deps.steps.device->startScan();
    m_deps.steps.shell->addStatusItem();
}

void AppDelegate::bleMouseConnect()
{
    followConnection();
    const AppSteps &s = m_deps.steps;
    m_deps.state->setChipPlan(2);
    m_deps.state->setIsSupportKeySetting(true);
    s.shell->addStatusItem();
    createCommandTables();
    // Connections that repeat within 3 s ask the mouse once, 3 s after the last.
    QPointer<AppDelegate> self(this);
    TPRDelayInvocationTrailing(
        m_bleInfoKey,
        [self] {
            if (!self)
                return;
            self->m_deps.steps.device->sendGetMouseInfoData();
            self->m_deps.steps.device->sendClosePopUpWebSiteData();
        },
        kBleInfoDelaySeconds);
    s.device->invalidateTimer();
    s.device->closeHIDDevice();
}

void AppDelegate::bleMouseDisConnect()
{
    followConnection();
    m_deps.state->setChipPlan(0);
    m_deps.state->setIsSupportKeySetting(false);
    m_deps.steps.shell->addStatusItem();
    m_deps.steps.device->openHIDDevice();
}

void AppDelegate::updateElectricInfo()
{
    logDeviceState("battery");
    const double power = m_deps.state->mouseInfoItem().powerPercent();
    // Only a real percentage counts: a negative or undefined reading is no reason for
    // a tip (and NaN fails every comparison, so it hides the image).
    if (!(power > 0 && power <= double(m_deps.state->lowPowerNum()))) {
        m_deps.steps.shell->setLowElectricShown(false);
        return;
    }
    // The image follows every low reading, also one that comes while tips are quiet
    // after a reading that hid it.
    m_deps.steps.shell->setLowElectricShown(true);
    if (m_showLowElectric)
        return;
    m_showLowElectric = true;
    m_deps.tips->showTipMessage(hrvAppLocalizedString(QStringLiteral("电量低，请充电")), QStringLiteral("info_icon"));
    scheduler().singleShot(
        kLowElectricQuietMs, [this] { m_showLowElectric = false; }, this);
}

void AppDelegate::applicationShouldHandleReopen()
{
    if (!m_deps.state->isConnect()) {
        qxInfo("app") << "asked for the window without a device: a tip instead";
        m_deps.tips->showTipMessage(hrvAppLocalizedString(QStringLiteral("设备未连接")), QStringLiteral("info_icon"));
    }
    m_deps.steps.shell->openApp();
    m_deps.steps.shell->reopenStatusItem();
}

void AppDelegate::applicationWillTerminate()
{
    if (m_terminated)
        return;
    m_terminated = true;
    const AppSteps &s = m_deps.steps;
    qxInfo("app") << "terminating: closing the speech service";
    s.voice->prepareForApplicationTermination();
    qxInfo("app") << "terminating: shutting down the speech SDK";
    s.voice->shutdownSparkChainBeforeTermination();
    qxInfo("app") << "terminating: writing out the log";
    s.shell->waitForPendingLogsBeforeTermination();
}

void AppDelegate::logDeviceState(const char *what) const
{
    const QXMouseInfoItem &item = m_deps.state->mouseInfoItem();
    qxInfo("app") << what << "- sn:" << item.sn() << "battery:" << item.powerPercent()
                  << "firmware:" << item.firmwareVersion() << "plan:" << m_deps.state->chipPlan();
}
