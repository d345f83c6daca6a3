#pragma once

#include "HidReportClassifier.h"
#include "HidReportHandlers.h"
#include "HidVoiceStream.h"

class HookStates;

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <utility>

class HIDDevice;
struct HidDeviceSinks;
class HidDeviceInfoHandler;
class QXHidCommandManager;
class QXMouseCommandManager;

// The incoming half of the HID command protocol: every input report of the command
// interface ends here (eventTypeConvertDataToHexStr). It classifies the report for the
// connected family, acknowledges it where the family asks, and hands it to one handler:
// device information, connection and status replies here (HidDeviceInfoHandler), key
// events, lighting replies and firmware acknowledgements to the handlers attached, and
// voice to the command manager's voice stream. It also owns the presence actions that
// decide when the mouse counts as present or gone.
//
// Keeps no state of its own beyond the command manager's. Main thread only.
class QXHidReportParser {
public:
    // (command as an unsigned byte, status as a signed 8-bit value)
    using Complete = std::function<void(int command, int status)>;

    // What the parser calls outside the protocol layer. Empty members use the
    // application's: the shared Bluetooth LE central and the shared HID device.
    struct Deps {
        std::function<void()> cancelPeripheralConnection;
        std::function<void()> startScan;
        // (currentVid, currentPid) of the open receiver.
        std::function<std::pair<quint16, quint16>()> currentIds;
    };

    // Which manager the delayed information request of a present action goes through.
    enum class PresentVia { HidManager, Facade };

    static constexpr double kPresentInfoDelaySeconds = 0.5;
    static constexpr double kPlan4FirmwareDelaySeconds = 0.2;

    // nullptr facade: the shared one.
    explicit QXHidReportParser(QXHidCommandManager &hid, QXMouseCommandManager *facade = nullptr);
    ~QXHidReportParser();
    QXHidReportParser(const QXHidReportParser &) = delete;
    QXHidReportParser &operator=(const QXHidReportParser &) = delete;

    // The process-wide instance, which the composition root constructed and installed.
    static QXHidReportParser &sharedInstance();
    static QXHidReportParser *setSharedInstance(QXHidReportParser *instance); // returns the previous one

    void setDeps(Deps deps) { m_deps = std::move(deps); }
    // Handlers are not owned; nullptr (the default) drops what they would take.
    void setKeyEventHandler(IHidKeyEventHandler *handler) { m_keys = handler; }
    void setLightingReplyHandler(IHidLightingReplyHandler *handler) { m_lighting = handler; }
    void setOtaAckHandler(IHidOtaAckHandler *handler) { m_ota = handler; }
    void listHooks(HookStates &out) const;

    // The parser's part of the transport's sinks: the command interface's reports and
    // the voice interface's.
    void addSinks(HidDeviceSinks &sinks);
    // For a transport nothing else wires: adds the parser's part to the transport's
    // sinks, and takes the transport's ids of the open receiver.
    void attachTo(HIDDevice &device);

    // One report of the command interface. `complete` is called at most once, only for
    // framed replies.
    void eventTypeConvertDataToHexStr(const QByteArray &report, const Complete &complete = {});
    // One report of the receiver's voice interface.
    void handleVoiceData(const QByteArray &report);

    // The connected device as the classifier sees it.
    proto::HidReportContext context() const;
    proto::HidVoiceContext voiceContext() const;

    // --- presence actions (shared with the handlers)
    // When the mouse is not yet present: present, Bluetooth LE dropped, poll restarted,
    // "kUSBInsertNotification", and the device information asked for 0.5 s later.
    // Facade requests coalesce per `site`; HID-manager ones each run once.
    void presentAction(PresentVia via, const QString &site);
    // When present: gone, "kUSBRemoveNotification", and (withScan) a Bluetooth LE scan.
    void goneAction(bool withScan);
    // Gone whatever the state was (framed 0x60, the device was unplugged).
    void unpluggedAction();

    QXHidCommandManager &hidManager() const { return m_hid; }
    QXMouseCommandManager &facade() const;
    void cancelPeripheralConnection();
    void startScan();

private:
    void dispatchFramed(const proto::HidReport &r, const Complete &complete);
    void dispatchPlan7(const proto::HidReport &r);
    void dispatchPlan6(const proto::HidReport &r);
    void dispatchPlan4(const proto::HidReport &r);
    void dispatchVoice(const proto::HidReport &r);
    // The handler of a reply route shared by the framed, plan-7 and plan-6 families;
    // returns false when a framed reply ends without its completion call.
    bool dispatchRoute(const proto::HidReport &r);

    QXHidCommandManager &m_hid;
    QXMouseCommandManager *m_facade;
    Deps m_deps;
    std::unique_ptr<HidDeviceInfoHandler> m_info;
    IHidKeyEventHandler *m_keys = nullptr;
    IHidLightingReplyHandler *m_lighting = nullptr;
    IHidOtaAckHandler *m_ota = nullptr;
};
