#include "DeviceAssembly.h"

#include "BleNotificationParser.h"
#include "BleStateDelegate.h"
#include "CoreAssembly.h"
#include "DpiTables.h"
#include "FamilyTraits.h"
#include "HIDDevice.h"
#include "HidEventHandlers.h"
#include "HidFirmwareTransfer.h"
#include "HidInfoCommands.h"
#include "HidInfoConnection.h"
#include "IChipTokenClient.h"
#include "LaserPenOverlays.h"
#include "PZLog.h"
#include "QXBLECommandManager.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXHttpRequestManager.h"
#include "QXLaserPenManager.h"
#include "QXMouseCommandManager.h"
#include "QXOTAUpdateManager.h"
#include "QXToolManager.h"
#include "QXUserInfoData.h"
#include "ReceiverTable.h"
#include "aiweb/QXAIWindowTool.h"
#include "platform/PlatformServices.h"
#include "platform/ShortcutBinder.h"
#include "platform/linux/BluetoothBackend.h"
#include "platform/linux/LinuxHidBackend.h"
#include "platform/linux/RemoteAiWebHost.h"

namespace {

// The voice chip's token comes from the HTTP client's token request.
class HttpChipTokenClient final : public IChipTokenClient {
public:
    explicit HttpChipTokenClient(QXHttpRequestManager &http) : m_http(http) {}
    void getIFlytekTokenWithCallback(QXSceneCallback callback) override
    {
        m_http.getIFlytekTokenWithCallback(std::move(callback));
    }

private:
    QXHttpRequestManager &m_http;
};

} // namespace

// --- the ports up to the voice area ------------------------------------------------------

void DeviceAssembly::UpperPorts::plug(IVoiceKeyDispatcher *voice, ISpeechService *speech, IPopupTips *tips,
                                      ITranslateManager *translate)
{
    m_voice.store(voice);
    m_speech.store(speech);
    m_tips.store(tips);
    m_translate.store(translate);
}

void DeviceAssembly::UpperPorts::listHooks(HookStates &out) const
{
    out.in(QStringLiteral("DeviceAssembly"))
        .add("ports.voice", m_voice.load())
        .add("ports.speech", m_speech.load())
        .add("ports.tips", m_tips.load())
        .add("ports.translate", m_translate.load());
}

void DeviceAssembly::UpperPorts::hidCallbackType(int type)
{
    if (IVoiceKeyDispatcher *voice = m_voice.load())
        voice->hidCallbackType(type);
    else
        qxLogOnce("voiceRelay", "[app] a key event came before the voice pipeline; dropped");
}

void DeviceAssembly::UpperPorts::cancelAsr()
{
    if (IVoiceKeyDispatcher *voice = m_voice.load())
        voice->cancelAsr();
}

void DeviceAssembly::UpperPorts::endIMouseMonitor()
{
    if (IVoiceKeyDispatcher *voice = m_voice.load())
        voice->endIMouseMonitor();
}

QIODevice *DeviceAssembly::UpperPorts::fileHandle()
{
    ISpeechService *speech = m_speech.load();
    return speech ? speech->fileHandle() : nullptr;
}

void DeviceAssembly::UpperPorts::prepareForApplicationTermination()
{
    if (ISpeechService *speech = m_speech.load())
        speech->prepareForApplicationTermination();
}

void DeviceAssembly::UpperPorts::showTipMessage(const QString &text, const QString &imageName)
{
    if (IPopupTips *tips = m_tips.load())
        tips->showTipMessage(text, imageName);
    else
        qxLogOnce("tipsRelay", "[app] a tip came before the pop-ups; dropped");
}

void DeviceAssembly::UpperPorts::snipTranslate()
{
    if (ITranslateManager *translate = m_translate.load())
        translate->snipTranslate();
    else
        qxLogOnce("translateRelay", "[app] a translation came before the translation manager; dropped");
}

void DeviceAssembly::UpperPorts::hyperTranslate()
{
    if (ITranslateManager *translate = m_translate.load())
        translate->hyperTranslate();
    else
        qxLogOnce("translateRelay", "[app] a translation came before the translation manager; dropped");
}

// --- the area ------------------------------------------------------------------------------

DeviceAssembly::DeviceAssembly(CoreAssembly &core, const Options &options)
{
    // The presentation pointer comes before the device layers that call it; it reaches
    // the device once the command managers exist (below). Its windows are made when an
    // effect first shows.
    m_laserPenOverlays = std::make_unique<LaserPenOverlays>(
        LaserPenOverlays::Deps{core.overlays(), {}, {}, options.mainWindow, &Scheduler::instance()});
    QXLaserPenManager::Deps pen;
    pen.scheduler = &Scheduler::instance();
    pen.effects = m_laserPenOverlays.get();
    pen.store = &core.store();
    pen.keys = &m_keys;
    pen.tips = &m_ports;
    m_laserPen.install(std::make_unique<QXLaserPenManager>(pen));

    // The AI window holder: its web window and engine come when it first shows.
    QXAIWindowTool::Deps ai;
    ai.state = &core.state();
    ai.keys = &m_keys;
    ai.voice = &m_ports;
    ai.mouseCommands = [this]() -> IMouseCommands * { return m_facade.get(); };
    ai.clipboard = platform::services().clipboard;
    ai.scheduler = &Scheduler::instance();
    ai.notifications = &core.notifications();
    ai.workspace = platform::services().workspace;
    ai.tips = &m_ports;
    ai.makeHost = &platform::linuxbackend::createRemoteAiWebHost;
    ai.hosts = AiPageHosts::configured();
    ai.deviceHost = QUrl(QXOTAUpdateManager::webBase()).host();
    m_aiWindow.install(std::make_unique<QXAIWindowTool>(std::move(ai)));

    // The higher layers as the device layers reach them: the shared key flags, the
    // pointer, the AI window and the ports to the voice area.
    DeviceSeams seams{&m_keys, &m_ports};
    seams.laserPen = m_laserPen.get();
    seams.aiWindow = m_aiWindow.get();
    seams.speech = &m_ports;
    seams.tips = &m_ports;
    seams.translate = &m_ports;
    m_seams = seams.resolved();

    // The USB receivers: one transport for the process, watching from launch on.
    platform::IHidBackend *hidBackend = options.hid;
    if (!hidBackend) {
        m_ownedHidBackend = std::make_unique<platform::linuxbackend::LinuxHidBackend>();
        hidBackend = m_ownedHidBackend.get();
    }
    m_hid.install(std::make_unique<HIDDevice>(hidBackend, m_seams));

    // The Bluetooth LE central: a fresh BlueZ central for every scan session. Its
    // delegate follows once the parser it hands the values to exists.
    QXBLEManager::CentralFactory central = options.bleCentral;
    if (!central)
        central = &platform::linuxbackend::createBleCentral;
    m_ble.install(std::make_unique<QXBLEManager>(std::move(central)));

    buildProtocol(core);
    m_laserPen->setDeviceLink({m_facade.get(), m_hidCommands.get(), [this] {
                                   const auto [vid, pid] = currentIds();
                                   return qx::receivers::followsPointerModes(vid, pid);
                               }});
    installDeviceAudioState(core);
    buildInfoReader(core);
    buildReportParser(core);
    wireHidSinks();
}

DeviceAssembly::~DeviceAssembly() = default;

void DeviceAssembly::buildProtocol(CoreAssembly &core)
{
    QXHidCommandManager &hid = m_hidCommands.install(std::make_unique<QXHidCommandManager>(m_seams));
    hid.setHidSink(m_hid.get());
    // Plan-7 voice says whether it streams wide band; the recordings' rate follows it.
    QXUserInfoData *state = &core.state();
    hid.setSamplingRateSink([state](bool wide) {
        if (state->samplingRate() != qint64(wide))
            qxInfo("hid") << "device voice sampling flag:" << (wide ? "16 kHz" : "8 kHz");
        state->setSamplingRate(wide ? 1 : 0);
    });
    QXBLEMouseCommandManager &ble =
        m_bleCommands.install(std::make_unique<QXBLEMouseCommandManager>(m_ble.get(), m_hid.get(), m_seams));
    m_facade.install(std::make_unique<QXMouseCommandManager>(hid, ble));
    QXBLEManager *central = m_ble.get();
    m_gadgetCommands.install(
        std::make_unique<QXBLECommandManager>([central](const QByteArray &frame) { return central->sendData(frame); }));
    BleNotificationParser &bleParser = m_bleParser.install(std::make_unique<BleNotificationParser>(ble, central));
    // State, voice source and every value of the mouse go from the central to the parser.
    m_bleDelegate = std::make_unique<BleStateDelegate>(&bleParser, m_facade.get());
    m_ble->setDelegate(m_bleDelegate.get());
    m_bleDelegateOff.set([central] { central->setDelegate(nullptr); });
}

// The recordings' sample rate (and the speech frames' audio format) follow the device
// in use: the family from the state, the receiver from the HID transport. The rate
// rule and the DPI tables are the device families' and are handed to the state layer.
void DeviceAssembly::installDeviceAudioState(CoreAssembly &core)
{
    QXToolManager::WavSampleRateRule previousWavRule = QXToolManager::setWavSampleRateRule(&wavSampleRate);
    QXUserInfoData::DpiChoiceLookup previousDpiLookup = QXUserInfoData::setDpiChoiceLookup(&DpiTables::choiceFor);
    QXToolManager::setWavRateInputsProvider([state = &core.state(), hid = m_hid.get()] {
        WavRateInputs in;
        in.bleConnect = state->bleConnect();
        in.chipPlan = int(state->chipPlan());
        in.deviceType = int(state->mouseInfoItem().deviceType());
        in.firmwareVersion = state->mouseInfoItem().firmwareVersion();
        in.samplingRate = int(state->samplingRate());
        in.currentVid = quint16(hid->currentVid());
        in.currentPid = quint16(hid->currentPid());
        return in;
    });
    m_deviceAudioState.set([previousWavRule, previousDpiLookup]() mutable {
        QXToolManager::setWavRateInputsProvider({});
        QXToolManager::setWavSampleRateRule(std::move(previousWavRule));
        QXUserInfoData::setDpiChoiceLookup(previousDpiLookup);
    });
}

// Device-information reports of receivers without key setting, and the hot keys of
// the voice-assistant receivers (F1/F2/F3).
void DeviceAssembly::buildInfoReader(CoreAssembly &core)
{
    m_hidInfoCommands = std::make_unique<HidInfoCommands>(*m_facade);
    HidInfoReader::Deps readerDeps;
    readerDeps.seams = m_seams;
    readerDeps.commands = m_hidInfoCommands.get();
    readerDeps.volume = platform::services().volume;
    readerDeps.binder = &core.shortcuts();
    m_hidInfoReader = std::make_unique<HidInfoReader>(readerDeps);
    m_hidInfo = std::make_unique<HidInfoConnection>(*m_hid, *m_hidInfoReader, &core.shortcuts());
}

// Replies and events of the receivers with key setting, and the voice interface's
// reports, go through the report parser.
void DeviceAssembly::buildReportParser(CoreAssembly &core)
{
    QXHidReportParser &parser =
        m_reportParser.install(std::make_unique<QXHidReportParser>(*m_hidCommands, m_facade.get()));
    QXHidReportParser::Deps deps;
    QXBLEManager *ble = m_ble.get();
    HIDDevice *hid = m_hid.get();
    deps.cancelPeripheralConnection = [ble] { ble->cancelPeripheralConnection(); };
    deps.startScan = [ble] { ble->startScan(); };
    deps.currentIds = [hid] {
        return std::pair<quint16, quint16>(quint16(hid->currentVid()), quint16(hid->currentPid()));
    };
    parser.setDeps(std::move(deps));
    // Key events, voice keys and the voice chip; lighting, hand and pointer replies.
    // The receivers' firmware-transfer replies go to the HID transfer.
    parser.setOtaAckHandler(&m_hidCommands->firmwareTransfer());
    m_chipTokens = std::make_unique<HttpChipTokenClient>(core.http());
    m_hidEvents = std::make_unique<HidEventHandlers>(parser, m_chipTokens.get());
}

// The transport's sinks, written here only: the command managers, the facade, the
// report parser and the device-information reader each fill their part.
void DeviceAssembly::wireHidSinks()
{
    QXHidCommandManager *hidCommands = m_hidCommands.get();
    QXMouseCommandManager *facade = m_facade.get();
    HidDeviceSinks s;
    s.startTimer = [hidCommands] { hidCommands->startTimer(); };
    s.invalidateTimer = [hidCommands] { hidCommands->invalidateTimer(); };
    s.setIsStartVoice = [hidCommands](bool on) { hidCommands->setIsStartVoice(on); };
    s.sendCloseMicData = [hidCommands] { hidCommands->sendCloseMicData(); };
    s.sendTelinkLaserPenOnlineData = [hidCommands] { hidCommands->sendTelinkLaserPenOnlineData(); };
    s.setIsFromMicData = [facade](bool on) { facade->setIsFromMicData(on); };
    s.sendGetMouseInfoData = [facade] { facade->sendGetMouseInfoData(); };
    s.sendClosePopUpWebSiteData = [facade] { facade->sendClosePopUpWebSiteData(); };
    QXBLEManager *ble = m_ble.get();
    s.cancelPeripheralConnection = [ble] { ble->cancelPeripheralConnection(); };
    m_reportParser->addSinks(s);
    m_hidInfo->addSinks(s);
    m_hid->setSinks(std::move(s));
    HIDDevice *hid = m_hid.get();
    m_hidSinks.set([hid] { hid->setSinks({}); });
}

void DeviceAssembly::listHooks(HookStates &out) const
{
    m_hid->listHooks(out);
    m_hidInfoReader->listHooks(out);
    m_ble->listHooks(out);
    m_facade->listHooks(out); // and the HID and Bluetooth LE command managers
    m_reportParser->listHooks(out);
    m_hidEvents->keys().listHooks(out);
    m_bleParser->listHooks(out);
    m_gadgetCommands->listHooks(out);
    m_ports.listHooks(out);
    out.in(QStringLiteral("QXToolManager")).add("wavRateInputs", QXToolManager::hasWavRateInputsProvider());
    out.in(QStringLiteral("QXToolManager")).add("wavSampleRateRule", QXToolManager::hasWavSampleRateRule());
    out.in(QStringLiteral("QXUserInfoData")).add("dpiChoiceLookup", QXUserInfoData::dpiChoiceLookup() != nullptr);
}

// --- steps ---------------------------------------------------------------------------------

void DeviceAssembly::setIsFromMicData(bool on)
{
    m_facade->setIsFromMicData(on);
}

void DeviceAssembly::startMonitor()
{
    m_hid->startMonitor();
}

std::pair<quint16, quint16> DeviceAssembly::currentIds()
{
    return {quint16(m_hid->currentVid()), quint16(m_hid->currentPid())};
}

void DeviceAssembly::startScan()
{
    m_ble->startScan();
}

void DeviceAssembly::cancelPeripheralConnection()
{
    m_ble->cancelPeripheralConnection();
}

void DeviceAssembly::sendGetMouseInfoData()
{
    m_facade->sendGetMouseInfoData();
}

void DeviceAssembly::sendClosePopUpWebSiteData()
{
    m_facade->sendClosePopUpWebSiteData();
}

void DeviceAssembly::invalidateTimer()
{
    m_hidCommands->invalidateTimer();
}

void DeviceAssembly::closeHIDDevice()
{
    m_hid->closeHIDDevice();
}

void DeviceAssembly::openHIDDevice()
{
    m_hid->openHIDDevice();
}
