#include "StatusItemController.h"

#include "AppDisplayName.h"
#include "GuidePopover.h"
#include "HRVLocalizedString.h"
#include "IStatusItem.h"
#include "MainThread.h"
#include "PZLog.h"
#include "QXGuideViewController.h"
#include "QXHidCommandManager.h"
#include "QXMouseCommandManager.h"
#include "QXUserInfoData.h"
#include "Scheduler.h"
#include "services/IAIWindow.h"
#include "services/IAppShell.h"
#include "services/IVoiceKeyDispatcher.h"

#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

StatusItemController::StatusItemController(Deps deps, QObject *parent) : QObject(parent), m_deps(std::move(deps))
{
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            closePopover();
    });
}

StatusItemController::~StatusItemController()
{
    if (m_deps.item)
        m_deps.item->setClickHandler({});
    // The window holds the guide's view, which the controller deletes.
    m_popover.reset();
}

Scheduler &StatusItemController::scheduler() const
{
    return m_deps.scheduler ? *m_deps.scheduler : Scheduler::instance();
}

QXGuideViewController &StatusItemController::guideVC()
{
    if (!m_guideVC)
        m_guideVC = std::make_unique<QXGuideViewController>(
            QXGuideViewController::Deps{m_deps.device, m_deps.scheduler, m_deps.terminate});
    return *m_guideVC;
}

void StatusItemController::addStatusItem()
{
    QPointer<StatusItemController> self(this);
    runOnMainThread([self] {
        if (self)
            self->build();
    });
}

void StatusItemController::build()
{
    IStatusItem &item = *m_deps.item;
    item.setToolTip(qxAppDisplayName());
    item.setMenu({});
    if (m_deps.state->isConnect())
        buildConnected();
    else
        buildDisconnected();
    item.show();
}

void StatusItemController::buildConnected()
{
    qxInfo("shell") << "status item: connected";
    IStatusItem &item = *m_deps.item;
    item.setImageName(QStringLiteral("Icon"));
    QPointer<StatusItemController> self(this);
    item.setMenu({{hrvAppLocalizedString(QStringLiteral("打开Quorvex")),
                   [self] {
                       if (self)
                           self->m_deps.shell->openApp();
                   }},
                  {hrvAppLocalizedString(QStringLiteral("退出Quorvex")), [self] {
                       if (self)
                           self->exitApp();
                   }}});
    item.setClickHandler({});
    hideGuide();
    if (m_deps.rebindSnipShortcut)
        m_deps.rebindSnipShortcut();
    m_deps.device->startTimer();
    // The main window opens by itself once: on the first connection after launch.
    scheduler().singleShot(
        kFirstShowDelayMs,
        [this] {
            if (!m_isFirstShow)
                return;
            m_isFirstShow = false;
            m_deps.shell->openApp();
        },
        this);
    m_built = Built::Connected;
}

void StatusItemController::buildDisconnected()
{
    qxInfo("shell") << "status item: no device";
    IStatusItem &item = *m_deps.item;
    item.setImageName(QStringLiteral("Icon_Dis"));
    item.setClickHandler([this] { itemPopoverAction(); });
    if (QWidget *window = m_deps.shell->window())
        window->hide();
    m_deps.aiWindow->hiddenWindow();
    m_deps.voice->cancelAsr();
    m_deps.device->invalidateTimer();
    if (m_deps.rebindSnipShortcut) // released while it cannot fire
        m_deps.rebindSnipShortcut();
    // Without a status area nothing would show at all: the guide comes up at launch and
    // when the device goes, not on every rebuild (a language change rebuilds too).
    if (!item.isAvailable() && m_built != Built::Disconnected && !m_isShow)
        itemPopoverAction();
    m_built = Built::Disconnected;
}

void StatusItemController::itemPopoverAction()
{
    if (m_isShow) {
        hideGuide();
        return;
    }
    showGuide();
}

void StatusItemController::showGuide()
{
    QXGuideViewController &guide = guideVC();
    if (!m_popover) {
        const auto mode = m_deps.item->isAvailable() ? GuidePopover::Mode::Popover : GuidePopover::Mode::Window;
        m_popover = std::make_unique<GuidePopover>(guide.view(), mode);
        m_popover->setClosedHandler([this] { m_isShow = false; });
    }
    m_isShow = true;
    m_popover->showAt(m_deps.item->geometry());
    guide.configTitle();
}

void StatusItemController::hideGuide()
{
    if (!m_isShow)
        return;
    m_isShow = false;
    if (m_popover)
        m_popover->hide();
}

void StatusItemController::closePopover()
{
    if (m_popover && m_popover->mode() == GuidePopover::Mode::Popover)
        hideGuide();
}

void StatusItemController::closePopoverForMouseDownAt(QPoint screenPos)
{
    if (!m_deps.item->geometry().contains(screenPos))
        closePopover();
}

void StatusItemController::reopen()
{
    if (!m_deps.item->isAvailable() && !m_deps.state->isConnect() && !m_isShow)
        showGuide();
}

void StatusItemController::exitApp()
{
    if (m_quitting)
        return;
    m_quitting = true;
    m_deps.device->sendOpenPopUpWebSiteData();
    if (m_deps.state->isLaser())
        m_deps.hidCommands->sendTelinkLaserPenOffLineData();
    scheduler().singleShot(
        kMenuQuitDelayMs,
        [this] {
            if (m_deps.terminate)
                m_deps.terminate();
        },
        this);
}
