#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

class FakeBleAdapter;
class SimulatedReceiver;

namespace sim {

// What a simulated bootloader is scripted to do wrong.
struct FirmwareBootloaderScript {
    static constexpr int kNever = -1;
    static constexpr int kSilentAtStart = -2;
    bool refuseStart = false;
    int refusePacket = kNever; // the packet with this index is refused and not kept
    int wrongIndexAt = kNever; // the reply to this packet echoes another index (receiver, remote)
    int silentFrom = kNever;   // from the packet with this index on (kSilentAtStart: from the start), no answers
    int replyDelayMs = 0;      // every answer comes this long after the frame
};

// The bootloader of a device taking a firmware image: the mouse (plan-2 framed
// replies), the USB receiver ("0dab..."), the remote control ("0d81ab...") over HID, or
// the mouse over Bluetooth LE. Written from the device side, independent of the
// application's builders: it reads every frame by its own layout, reassembles the
// packets it accepts in index order, and at the end frame reports success only when
// what it holds is not empty, its byte count and additive checksum match the end
// frame's (in the frame's width), the end frame's index follows the last packet
// (receiver, remote), and the bytes equal the reference image the test gave it.
//
// It can be scripted to refuse the start or one packet, echo a wrong index, fall
// silent, or answer late. A device without a refusal in its protocol (receiver, remote)
// refuses a packet by echoing the last index it accepted; the receiver, which has no
// failure answer, stays silent on an end frame it does not accept.
class FirmwareBootloader {
public:
    enum class Kind { Mouse, Receiver, Remote, Ble };
    enum class Result { None, Success, Failure };

    static constexpr int kNever = FirmwareBootloaderScript::kNever;
    static constexpr int kSilentAtStart = FirmwareBootloaderScript::kSilentAtStart;

    using Script = FirmwareBootloaderScript;

    explicit FirmwareBootloader(Kind kind, Script script = {}) : m_kind(kind), m_script(script) {}

    void setScript(const Script &script) { m_script = script; }
    const Script &script() const { return m_script; }
    // The image the test means to send; success needs the reassembled bytes to equal it.
    void setReference(QByteArray image) { m_reference = std::move(image); }

    // One frame as the device receives it. Returns its answers (unpadded).
    QList<QByteArray> receive(QByteArrayView frame);

    Kind kind() const { return m_kind; }
    Result result() const { return m_result; }
    bool inTransfer() const { return m_started; }
    const QByteArray &received() const { return m_bytes; }
    int starts() const { return m_starts; }
    int cancels() const { return m_cancels; }
    int packetsKept() const { return m_kept; }
    // What happened, in order: "start", "packet 3", "refused 3", "end ok", "end failed", "cancel", ...
    const QStringList &events() const { return m_events; }
    // Frames of the firmware protocol that could not be read (bad length, bad closing byte).
    int malformed() const { return m_malformed; }

private:
    enum class Op { None, Start, Packet, End, Cancel };
    struct Frame {
        Op op = Op::None;
        int index = 0;
        QByteArray data;
        quint32 count = 0;
        quint32 sum = 0;
    };
    Frame decode(QByteArrayView f);
    QByteArray startReply(bool accepted) const;
    QByteArray packetReply(bool accepted, int echoIndex) const;
    QByteArray endReply(bool accepted) const;
    QByteArray cancelReply() const;
    int firstIndex() const { return m_kind == Kind::Receiver ? 1 : 0; }
    bool silent(int packetIndex) const;

    Kind m_kind;
    Script m_script;
    QByteArray m_reference;
    bool m_started = false;
    bool m_silenced = false;
    int m_expected = 0;
    QByteArray m_bytes;
    quint32 m_sum = 0;
    Result m_result = Result::None;
    int m_starts = 0;
    int m_cancels = 0;
    int m_kept = 0;
    int m_malformed = 0;
    QStringList m_events;
};

// The bootloader behind a simulated receiver's command interface: reads every report
// written to it and answers with full-length (64-byte) input reports.
class SimHidBootloader {
public:
    SimHidBootloader(SimulatedReceiver &receiver, FirmwareBootloader::Kind kind, FirmwareBootloaderScript script = {});
    ~SimHidBootloader();
    FirmwareBootloader &device() { return m_device; }

private:
    SimulatedReceiver &m_receiver;
    FirmwareBootloader m_device;
};

// The bootloader of a Bluetooth LE mouse on a fake adapter: reads the writes to the
// firmware characteristic and answers with notifications on `notifyUuid`. Also counts
// writes longer than the link's MTU allows, which a real link would not carry whole.
class SimBleBootloader {
public:
    SimBleBootloader(FakeBleAdapter &adapter, QString peripheral, QString otaWriteUuid, QString notifyUuid,
                     FirmwareBootloaderScript script = {});
    ~SimBleBootloader();
    FirmwareBootloader &device() { return m_device; }
    int oversizedWrites() const { return m_oversized; }

private:
    FakeBleAdapter &m_adapter;
    QString m_peripheral;
    QString m_otaWrite;
    QString m_notify;
    FirmwareBootloader m_device;
    int m_oversized = 0;
};

} // namespace sim
