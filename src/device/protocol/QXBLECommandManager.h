#pragma once

#include "GadgetFrames.h"
#include "GadgetNotification.h"
#include "Scheduler.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// Listener of the gadget's file synchronisation. Kept for the file pages; nothing
// reports through it yet.
class QXBLECommandManagerSynchronousDelegate {
public:
    virtual ~QXBLECommandManagerSynchronousDelegate() = default;
};

// The command set of the recording and translating gadget: reads its notifications,
// answers the handshake and the key events, and asks for authorisation on a timer.
// Frames are built by the free functions of GadgetFrames.h; this object writes only
// the answers, through its writer (the central's sendData, written with response).
//
// Main thread only; the delayed writes and the timer run on the Scheduler and die
// with the object.
class QXBLECommandManager {
public:
    // Writes one frame; false when nothing is connected to take it.
    using BleWriter = std::function<bool(const QByteArray &frame)>;
    // (result code, text, status number); see GadgetNotification.
    using Complete = std::function<void(int result, const QString &text, qint64 status)>;

    static constexpr int kDeviceInfoDelayMs = 40;  // after the handshake answer
    static constexpr int kMacAddressDelayMs = 100; // after the device-information request
    static constexpr int kAuthIntervalMs = 5000;
    static constexpr qint64 kAuthRequests = 5;

    explicit QXBLECommandManager(BleWriter writer);
    ~QXBLECommandManager();
    QXBLECommandManager(const QXBLECommandManager &) = delete;
    QXBLECommandManager &operator=(const QXBLECommandManager &) = delete;

    // The process-wide instance, which the composition root constructed and installed.
    static QXBLECommandManager &sharedInstance();
    static QXBLECommandManager *setSharedInstance(QXBLECommandManager *instance); // returns the previous one

    bool isConnect() const { return m_isConnect; }
    // NO also stops the authorisation timer.
    void setIsConnect(bool connected);
    // The last translation key was the right one.
    bool isLeftVoice() const { return m_isLeftVoice; }

    void setLogBlock(std::function<void(const QString &)> block) { m_logBlock = std::move(block); }
    void setDelegate(QXBLECommandManagerSynchronousDelegate *delegate) { m_delegate = delegate; }
    QXBLECommandManagerSynchronousDelegate *delegate() const { return m_delegate; }

    // Builders that need the manager's state or clock; the rest are in GadgetFrames.h.
    // Empties synchronousData when the frame is built.
    std::optional<QByteArray> sendSynchronousDeviceFileData(const QString &text);
    // The current local time from the Scheduler's clock.
    QByteArray sendSetCurrentTimeData() const;
    const QByteArray &synchronousData() const { return m_synchronousData; }

    // Reads one notification value and calls complete (when given) once per frame in
    // it; values shorter than four bytes are dropped without a call.
    void eventTypeConvertDataToHexStr(const QByteArray &data, const Complete &complete = {});

    // Authorisation: a request every 5 s, at most five per start.
    void startTimer();
    void invalidateTimer();
    void getAuthData();
    bool isTimerRunning() const { return m_timer != Scheduler::kNoTimer; }
    qint64 sendCount() const { return m_sendCount; }

private:
    void handle(const proto::gadget::GadgetNotification &n);
    void write(const QByteArray &frame);

    BleWriter m_writer;
    bool m_isConnect = false;
    bool m_isLeftVoice = false;
    std::function<void(const QString &)> m_logBlock;
    QXBLECommandManagerSynchronousDelegate *m_delegate = nullptr; // not owned
    Scheduler::TimerId m_timer = Scheduler::kNoTimer;
    qint64 m_sendCount = 0;
    QByteArray m_synchronousData;
    QObject m_context; // the Scheduler drops what is pending for it when the manager goes
};
