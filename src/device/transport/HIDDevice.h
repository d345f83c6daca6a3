#pragma once

#include "HidCommandSink.h"
#include "HidDeviceSinks.h"
#include "HookStates.h"
#include "Scheduler.h"
#include "platform/IHidBackend.h"
#include "services/DeviceSeams.h"
#include "services/VoiceKeyState.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <atomic>
#include <functional>

// The USB HID transport to the receivers and wired mice. Watches the system for the
// receivers of the receiver table, picks each receiver's command and voice interfaces,
// opens the command interface and sets up the device family (frame layout, device
// type, key setting), follows removal, sends output reports one every 50 ms and routes
// input reports to the voice decoder, the device-information reader or the report
// parser. Main thread only.
class HIDDevice final : public QObject, public HidCommandSink {
public:
    // Status codes of sendData(), as the command builders test them (only 0 means sent).
    static constexpr quint32 kIOReturnSuccess = 0;
    static constexpr quint32 kIOReturnError = 0xE00002BC;
    static constexpr quint32 kIOReturnBadArgument = 0xE00002C2;
    static constexpr quint32 kIOReturnNoDevice = 0xE00002C0;
    static constexpr quint32 kIOReturnNotOpen = 0xE00002CD;
    static constexpr quint32 kIOReturnNotPermitted = 0xE00002E2;

    static constexpr int kPacingMs = 50;
    static constexpr int kMaxOpenRetries = 20;
    static constexpr int kMaxInputReport = 65535;

    using SendCallback = std::function<void(bool success, const QString &message)>;

    // The backend is not owned; nullptr gives a transport that finds nothing (logged
    // once). The seams take the removal's and the open's events (empty: stand-ins).
    explicit HIDDevice(platform::IHidBackend *backend, const DeviceSeams &seams = {}, QObject *parent = nullptr);
    ~HIDDevice() override;

    // The process-wide instance, which the composition root constructed and installed.
    static HIDDevice &sharedInstance();
    static HIDDevice *setSharedInstance(HIDDevice *instance); // returns the previous one

    void setSinks(HidDeviceSinks sinks) { m_sinks = std::move(sinks); }
    HidDeviceSinks &sinks() { return m_sinks; }
    void listHooks(HookStates &out) const;

    // --- discovery and identification ----------------------------------------------------
    // The vendor/product pairs watched, in table order.
    static QList<platform::HidMatch> registerDevice();
    // Watches for receivers (one watch for the process) and, on the event loop, handles
    // every matching interface already present that is not held as an arrival.
    void startMonitor();
    // Arrival or removal of one interface.
    void setDeviceRef(const platform::HidDeviceInfo &device, bool isRemove);
    // Opens the command interface and sets up its family; without one, watches again.
    void openHIDDevice();
    // Closes both interfaces, stops watching (with a command interface), drops the
    // output queue and stops the command manager's timer.
    void closeHIDDevice();
    // The first requests after an open.
    void getHidInfo();
    // Handles the command interface as removed.
    void resetHIDDevice();
    void registerHotKey();

    // --- output ----------------------------------------------------------------------------
    // Sends one command (byte 0 is the report id) in the length of the connected family,
    // or queues it while a report went out less than 50 ms ago. Returns 0 when sent or
    // queued, kIOReturnNoDevice without a command interface, else the failure.
    quint32 sendData(const QByteArray &command);
    // sendData, reporting (true, "") and clearing pressType on success, else (false, "").
    quint32 hidRequestSendCommand(const QByteArray &command, const SendCallback &callback = {});
    // The command builders' zero-filled buffer, sent as above without a callback.
    void hidRequestSendCommand(const HidCommandBuffer &buffer) override;

    // --- input -------------------------------------------------------------------------------
    // Every input report of an open interface.
    void hidInputReport(const QString &path, const QByteArray &report);
    // The command interface's first-byte filter.
    void usbhidDidRecvData(const QByteArray &report);
    // To the report parser when the family supports key setting, else to the reader.
    void getDeivceInfoWithBuf(const QByteArray &report);
    void handleMouseCustomDataWithBuf(const QByteArray &report);

    // --- state ---------------------------------------------------------------------------------
    bool hasDevice() const { return !m_command.path.isEmpty(); }
    QString devicePath() const { return m_command.path; }
    QString voiceDevicePath() const { return m_voice.path; }
    // The open receiver's ids; readable from any thread (the recordings' rate uses them).
    qint64 currentPid() const { return m_currentPid.load(); }
    qint64 currentVid() const { return m_currentVid.load(); }
    qint64 openHandleNum() const { return m_openHandleNum; }
    bool isLength33() const { return m_isLength33; }
    bool isSendingData() const { return m_isSendingData; }
    bool isStartVoice() const { return m_isStartVoice; }
    void setIsStartVoice(bool on) { m_isStartVoice = on; }
    // The device-information reader's last key, kept in the shared key state.
    qint64 pressType() const { return m_seams.keys->readerPressType(); }
    void setPressType(qint64 type) override { m_seams.keys->setReaderPressType(type); }
    const QList<QByteArray> &commandArr() const { return m_commandArr; }
    bool isWatching() const { return m_watching; }

private:
    quint32 send(const QByteArray &command, bool queued);
    void paceStep();
    void announcePresent();
    void deviceArrived(const platform::HidDeviceInfo &device);
    void deviceRemoved(const platform::HidDeviceInfo &device);
    bool isHeld(const QString &path) const;
    bool holdsSameReceiver(const platform::HidDeviceInfo &device) const;
    void takeInterface(platform::HidDeviceInfo &slot, const platform::HidDeviceInfo &device);
    void setUpFamily(const QString &serialNumber);
    void storeIds(const QString &serialNumber);
    static quint32 statusOf(const platform::HidResult &result);

    platform::IHidBackend *m_backend = nullptr;
    DeviceSeams m_seams;
    HidDeviceSinks m_sinks;

    platform::HidDeviceInfo m_command; // the command interface (deviceRef); empty path: none
    platform::HidDeviceInfo m_voice;   // the voice interface (voiceDeviceRef)
    QString m_currentUsbDevice;        // the USB device of the receiver accepted last
    std::atomic<qint64> m_currentPid = 0;
    std::atomic<qint64> m_currentVid = 0;
    qint64 m_openHandleNum = 0;
    bool m_isLength33 = false;
    bool m_isStartVoice = false;

    bool m_watching = false;
    bool m_announcing = false;
    Scheduler::TimerId m_announceTimer = Scheduler::kNoTimer;

    bool m_isSendingData = false;
    Scheduler::TimerId m_paceTimer = Scheduler::kNoTimer;
    QList<QByteArray> m_commandArr;
};
