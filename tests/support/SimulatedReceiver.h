#pragma once

#include "ReceiverTable.h"
#include "platform/IHidBackend.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class SimulatedHidBus;

// A receiver (or wired mouse) on the simulated bus: one USB device with its HID
// interfaces, each with its primary usage page and usage. It records every report the
// application writes to it and can send input reports. Device families grow answers
// through the responder, which sees each written report.
class SimulatedReceiver {
public:
    enum class Role { Command, Voice, Mouse, Keyboard, Other };

    struct Interface {
        Role role;
        quint32 page;
        quint32 usage;
        QString path;
    };

    struct Options {
        quint16 versionNumber = 0x0100;
        QString product = QStringLiteral("Receiver");
        QString serialNumber = QStringLiteral("SN0001");
        bool withMouse = true;  // a boot mouse interface (0x0001, 2) before the command one
                                // (rows that would take it as command interface get none)
        bool withVoice = false; // a voice interface (0xFF0C, 1) after it
    };

    // What the responder is given: the receiver, the interface written to, the report.
    using Responder = std::function<void(SimulatedReceiver &, const Interface &, const QByteArray &report)>;

    SimulatedReceiver(SimulatedHidBus &bus, quint16 vendorId, quint16 productId, const Options &options);
    // A receiver of a table row with the command interface that row's family uses.
    SimulatedReceiver(SimulatedHidBus &bus, const qx::receivers::ReceiverRow &row, const Options &options);
    ~SimulatedReceiver();
    SimulatedReceiver(const SimulatedReceiver &) = delete;
    SimulatedReceiver &operator=(const SimulatedReceiver &) = delete;

    // Interfaces are reported to the system in the order they were added.
    const Interface &addInterface(Role role, quint32 page, quint32 usage);
    const QList<Interface> &interfaces() const { return m_interfaces; }
    QString path(Role role) const; // the first interface of the role, "" when none
    platform::HidDeviceInfo info(const Interface &i) const;

    void plugIn();
    void unplug();
    bool isPlugged() const { return m_plugged; }

    // Input reports: delivered at once (false when the interface is not open), or on the
    // scheduler after delayMs, as a device answers (the bus must outlive the answer).
    bool sendInput(Role role, const QByteArray &report);
    void reply(Role role, const QByteArray &report, int delayMs = 0);

    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // Every report written to this receiver, in order, with the interface's role.
    struct Written {
        Role role;
        QByteArray report;
        qint64 atMs;
    };
    const QList<Written> &written() const { return m_written; }
    QList<QByteArray> writtenTo(Role role) const;
    void clearWritten() { m_written.clear(); }

    quint16 vendorId() const { return m_vendorId; }
    quint16 productId() const { return m_productId; }
    QString usbDevice() const { return m_usbDevice; }

private:
    friend class SimulatedHidBus;
    bool owns(const QString &path) const;
    void received(const QString &path, const QByteArray &report);

    SimulatedHidBus &m_bus;
    quint16 m_vendorId;
    quint16 m_productId;
    Options m_options;
    QString m_usbDevice;
    QList<Interface> m_interfaces;
    QList<Written> m_written;
    Responder m_responder;
    bool m_plugged = false;
};
