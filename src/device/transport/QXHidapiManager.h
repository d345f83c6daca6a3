#pragma once

#include "HidapiCommands.h"
#include "HidapiConnection.h"
#include "PressTypeConverter.h"
#include "Scheduler.h"
#include "platform/HidapiShim.h"
#include "services/VoiceKeyState.h"

#include <QObject>

#include <functional>
#include <memory>

// A second HID transport for a wired mouse or receiver, over the hidapi library: it
// opens the command interface (usage page 0xFF05) by vendor and product id, polls the
// device-information feature report, turns key bytes into press types for its
// listener, sends the older-style commands and binds the hot keys of two voice
// receivers. The application uses HIDDevice; nothing starts this transport.
//
// Main thread, apart from the connection's reading thread, whose results come back
// to the main thread. After hidRequestClose() no read, poll step or listener call runs.
class QXHidapiManager : public QObject {
public:
    // The listener: (success, press type).
    using ReadCallback = std::function<void(bool ok, int pressType)>;
    // Command completion: (success, "").
    using CommandCallback = std::function<void(bool ok, const QString &message)>;

    // A hot key to bind: register the shortcut (a macOS key code, no modifiers) as the
    // default of the preference key, bind the key to the action, and accept shortcuts
    // with only the Option modifier. The global-shortcut layer does the work.
    struct HotKey {
        QString defaultsKey;
        int macKeyCode = 0;
        quint64 modifierFlags = 0;
        bool allowOptionModifier = true;
        std::function<void()> action;
    };
    using HotKeyBinder = std::function<void(const HotKey &hotKey)>;
    // Where plan-2 reports go for the command protocol's parser.
    using CustomDataHandler = std::function<void(const QByteArray &report)>;

    static constexpr quint16 kCommandUsagePage = 0xFF05;
    static constexpr quint16 kCommandUsage = 0;
    static constexpr int kMaxOpenRetries = 10;
    static constexpr quint8 kInfoReportId = 0x0d;
    static constexpr int kInfoReportLength = 17;
    static constexpr int kPollReportLength = 64;
    static constexpr int kMinInfoLength = 8;
    // Pause between two feature-report reads, and before re-reading a short first report.
    static constexpr int kPollIntervalMs = 10;
    static constexpr int kInfoRetryMs = 10;
    static constexpr int kKeyReleaseDelayMs = 5;

    // The seams take the key events and the pointer's effect resets (empty: stand-ins).
    explicit QXHidapiManager(platform::HidapiShim *shim = nullptr, const DeviceSeams &seams = {});
    ~QXHidapiManager() override;

    void setShim(platform::HidapiShim *shim);
    void setHotKeyBinder(HotKeyBinder binder);
    void setCustomDataHandler(CustomDataHandler handler);

    // Opens the device and keeps callback as the listener. Nothing when a device is
    // open already; callback(false, 0) once when the library, the interface or the
    // open (after the retries) fails.
    void hidRequestReadMouseInfoVid(quint16 vid, quint16 pid, ReadCallback callback);
    // Drops the listener, stops the poll and its reading thread, closes the device and
    // ends the library.
    void hidRequestClose();
    bool isOpen() const { return m_handle != nullptr; }
    // A feature-report read is on its way (the reading thread has not answered yet).
    bool isReading() const { return m_reading; }

    void getHidInfo();
    void startTime();
    void timerRun();
    // Reads a device-information report (res: bytes read) into the device state and
    // hands its key byte on.
    void getDeivceInfoWithBuf(const QByteArray &buf, int res);
    void handleMouseCustomDataWithBuf(const QByteArray &buf);
    int convertPressTypeWithNum(qint64 num);
    void registerHotKey();
    void sendConfigurationRequest();

    // Writes 17 (plan 2) or 16 bytes of the buffer.
    void hidRequestSendCommand(const QByteArray &buffer, CommandCallback callback);

    void hidRequestWriteLedOpen(bool open, CommandCallback callback);
    void hidRequestWriteDpiNum(int dpi, CommandCallback callback);
    // Plan 2 presses the key and releases it 5 ms later; the callback reports the release.
    void hidRequestWriteCmd(int cmd, CommandCallback callback);
    void hidRequestResetKeyCmdCallback(CommandCallback callback);
    void hidRequestOpenWebsiteCmd(bool open, CommandCallback callback);
    void hidRequestOpenMic(bool open, CommandCallback callback);
    void hidRequestGetMouseInfoCmdCallback(CommandCallback callback);
    void hidRequestLaserPenMode(int mode, CommandCallback callback);
    void hidRequestLaserPenDPI(int dpi, CommandCallback callback);
    void hidRequestLaserPenOpenWebsiteCmd(bool open, CommandCallback callback);
    void hidRequestLaserPenOpenMic(bool open, CommandCallback callback);
    void hidRequestLaserPenOpenLED(bool open, CommandCallback callback);
    void hidRequestLaserPenMotor(int value, CommandCallback callback);
    void hidRequestLaserPenResetKeyStatusCallback(CommandCallback callback);
    void hidRequestLaserPenMotorShakeDuration(double seconds, CommandCallback callback);
    void hidRequestLaserPenSendKeyCommand(int value, CommandCallback callback);

    // The reader's last key, kept in the shared key state.
    int pressType() const { return int(m_seams.keys->readerPressType()); }
    int openHandleNum() const { return m_openHandleNum; }
    PressTypeConverter &converter() { return m_converter; }

private:
    enum class OpenResult { Opened, NoLibrary, NoInterface, OpenFailed };
    OpenResult openOnce(quint16 vid, quint16 pid);
    void hidInfoArrived(int res, const QByteArray &report);
    void pollArrived(int res, const QByteArray &report);
    void readOtherPlanFields(const QByteArray &buf, int length);
    void readPlan2Report(const QByteArray &buf, int length);
    // Applies the key rule to a converted key; false when the rest of the report is to be skipped.
    bool takeKey(int converted);
    void hotKeyPressed(int keyNum);
    void sendCommand(hidapicmd::Command command, int value, CommandCallback callback);
    void hidRequestWriteCmdReleaseCallback(CommandCallback callback);
    void stopTimers();
    bool isPlan2() const;

    platform::HidapiShim *m_shim = nullptr;
    DeviceSeams m_seams;
    HotKeyBinder m_hotKeyBinder;
    CustomDataHandler m_customDataHandler;
    std::unique_ptr<HidapiConnection> m_handle;
    ReadCallback m_callbackBlock;
    PressTypeConverter m_converter; // takes every pointer code as it comes, repeats included
    bool m_reading = false;
    int m_openHandleNum = 0;
    Scheduler::TimerId m_pollTimer = Scheduler::kNoTimer;
    Scheduler::TimerId m_infoRetryTimer = Scheduler::kNoTimer;
    Scheduler::TimerId m_releaseTimer = Scheduler::kNoTimer;
    CommandCallback m_pendingRelease; // completion of a key command awaiting its release
};
