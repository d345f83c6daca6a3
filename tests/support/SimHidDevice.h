#pragma once

#include "SimulatedReceiver.h"

#include <QByteArray>
#include <QStringList>

// A mouse behind a simulated receiver that answers the application's commands the way
// its family does: connection status, device information, serial and firmware,
// lighting and hand reads, and the acknowledgements it gets back. Families: plan 2
// (framed), 4, 6 and 7. Answers come a few milliseconds after each command, on the
// scheduler; what the device understood is kept in heard() in order.
class SimHidDevice {
public:
    static constexpr int kAnswerDelayMs = 4;

    struct Mouse {
        bool present = true;
        QByteArray serial = "QX1234"; // framed: text; plans 6/7: "QX" + 8 hex bytes below
        QByteArray serialBytes = QByteArray::fromHex("2023120600000001");
        quint16 pid = 0x22AB;
        quint16 vid = 0x3151;
        int model = 56;
        int icType = 2;
        int dpi = 3; // as the device counts it (plans 6/7 from 1)
        int battery = 90;
        QByteArray firmware = "V1.2.3"; // framed and plan 4; plans 6/7 send one byte
        int firmwareByte = 0x12;
        int lighting = 2; // the value every lighting/hand read answers
    };

    SimHidDevice(SimulatedReceiver &receiver, int chipPlan) : SimHidDevice(receiver, chipPlan, Mouse()) {}
    SimHidDevice(SimulatedReceiver &receiver, int chipPlan, Mouse mouse);
    ~SimHidDevice();

    Mouse &mouse() { return m_mouse; }
    QStringList heard() const { return m_heard; }
    void clearHeard() { m_heard.clear(); }
    int count(const QString &command) const { return int(m_heard.count(command)); }

    // Reports the device sends on its own.
    void send(const QByteArray &report, int delayMs = 0);
    // The voice-start and voice-end events: framed 0x5a and 0x00, plans 6 and 7 0x62 and 0x63.
    void sendVoiceEvent(bool start);

private:
    void received(const QByteArray &report);
    void answer(const QString &command);
    QByteArray framed(int command, int status, const QByteArray &payload) const;
    QByteArray infoReport() const;
    QByteArray statusReport() const;

    SimulatedReceiver &m_rx;
    int m_plan;
    Mouse m_mouse;
    QStringList m_heard;
};
