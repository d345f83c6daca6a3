#include "CompanionApp.h"

#include "AppDelegate.h"
#include "CoreAssembly.h"
#include "KeyValueStore.h"
#include "PZLog.h"
#include "PageContext.h"
#include "Scheduler.h"
#include "windows/MainWindow.h"

namespace {

CoreAssembly::Options coreOptions(const CompanionApp::Options &o)
{
    return {o.store, o.secrets, o.desktopServices, o.screenGrabber, o.compositor};
}

DeviceAssembly::Options deviceOptions(const CompanionApp::Options &o, std::function<QWidget *()> mainWindow)
{
    return {o.hid, o.bleCentral, std::move(mainWindow)};
}

VoiceAssembly::Options voiceOptions(const CompanionApp::Options &o)
{
    return {o.microphone, o.speechSynth, o.urlPlayer, o.defaultInput, o.desktopServices, o.accessibility, o.speechBase};
}

ShellAssembly::Options shellOptions(const CompanionApp::Options &o)
{
    return {o.statusItem, o.permissionProbe, o.loginItems, o.quit};
}

} // namespace

CompanionApp::CompanionApp(const Options &options)
    : m_core(coreOptions(options)),
      m_device(m_core, deviceOptions(options, [this]() -> QWidget * { return m_window.data(); })),
      m_voice(m_core, m_device, voiceOptions(options), [this] { return m_window.data(); }),
      m_shell(m_core, m_device, m_voice, shellOptions(options))
{
    m_window = &m_shell.mainWindow();
    AppDelegate::Deps delegate;
    delegate.steps = {&m_device, &m_voice, &m_shell};
    delegate.state = &m_core.state();
    delegate.tips = m_device.seams().tips;
    delegate.notifications = &m_core.notifications();
    m_delegate = std::make_unique<AppDelegate>(delegate);
    m_core.endStartWrites();
}

CompanionApp::~CompanionApp() = default;

PageContext CompanionApp::pageContext() const
{
    return m_shell.pageContext();
}

void CompanionApp::applicationDidFinishLaunching()
{
    KeyValueStore::Batch launchWrites(m_core.store());
    m_delegate->applicationDidFinishLaunching();
}

void CompanionApp::configData()
{
    m_delegate->configData();
}

void CompanionApp::configUI()
{
    m_shell.configUI();
}

void CompanionApp::reopen()
{
    m_delegate->applicationShouldHandleReopen();
}

void CompanionApp::applicationWillTerminate()
{
    m_delegate->applicationWillTerminate();
}

HookStates CompanionApp::hookStates() const
{
    HookStates out;
    m_device.listHooks(out);
    m_shell.listHooks(out);
    return out;
}

const std::vector<CompanionApp::EmptyOnPurpose> &CompanionApp::emptyOnPurpose()
{
    static const std::vector<EmptyOnPurpose> list{
        {"QXBLECommandManager.logBlock", "stored and never called: nothing in the application shows the gadget's log"},
        {"QXBLECommandManager.delegate",
         "stored and never called: nothing in the application takes the gadget's recordings"},
        {"BleNotificationParser.formatSize", "empty reads the speech language's chunk size, as wanted"},
        // Not constructed at all, so not in the list of hooks:
        {"QXHidapiManager.*", "the hidapi transport, which the application never selects"},
        {"QXUsbInfoManager.*", "the USB presence watcher, which nothing starts"},
    };
    return list;
}

void CompanionApp::logCounters() const
{
    qxInfo("app") << "timers fired:" << Scheduler::instance().firedCount();
}
