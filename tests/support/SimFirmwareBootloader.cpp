#include "SimFirmwareBootloader.h"

#include "FakeBleCentral.h"
#include "Scheduler.h"
#include "SimulatedReceiver.h"

#include <memory>

namespace sim {

namespace {

int at(QByteArrayView b, qsizetype i)
{
    return i >= 0 && i < b.size() ? int(uint8_t(b[i])) : -1;
}

quint32 le(QByteArrayView b, qsizetype from, int bytes)
{
    quint32 v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= quint32(std::max(0, at(b, from + i))) << (8 * i);
    return v;
}

bool startsWith(QByteArrayView b, std::initializer_list<int> prefix)
{
    qsizetype i = 0;
    for (int p : prefix)
        if (at(b, i++) != p)
            return false;
    return true;
}

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(uint8_t(v)));
    return b;
}

} // namespace

// --- reading the frames ---------------------------------------------------------------------------

FirmwareBootloader::Frame FirmwareBootloader::decode(QByteArrayView f)
{
    Frame fr;
    bool firmware = false; // a frame of the firmware protocol, well formed or not
    switch (m_kind) {
    case Kind::Mouse: {
        if (!startsWith(f, {0x0d, 0xa6, 0x4d}) || at(f, 4) < 0x70 || at(f, 4) > 0x74)
            return fr;
        firmware = true;
        const int len = at(f, 3);
        switch (at(f, 4)) {
        case 0x70:
            if (len == 4 && at(f, 5) == 0x4c)
                fr.op = Op::Start;
            break;
        case 0x71: {
            const int k = len - 5;
            if (k >= 1 && k <= 57 && f.size() >= 7 + k) {
                fr.op = Op::Packet;
                fr.index = int(le(f, 5, 2));
                fr.data = f.sliced(7, k).toByteArray();
            }
            break;
        }
        case 0x72:
            if (len == 0x0c && at(f, 13) == 0x4c) {
                fr.op = Op::End;
                fr.count = le(f, 5, 4);
                fr.sum = le(f, 9, 4);
            }
            break;
        case 0x74:
            if (len == 4 && at(f, 5) == 0x4c)
                fr.op = Op::Cancel;
            break;
        default:
            break;
        }
        break;
    }
    case Kind::Receiver: {
        if (!f.isEmpty() && f.count('\0') == f.size()) {
            fr.op = Op::Cancel; // its cancel is the zero report
            return fr;
        }
        if (!startsWith(f, {0x0d, 0xba}))
            return fr;
        firmware = true;
        switch (at(f, 2)) {
        case 0xc0:
            fr.op = Op::Start;
            break;
        case 0xc1: {
            const int k = at(f, 5);
            if (k >= 1 && k <= 57 && at(f, 6) == 0 && f.size() >= 7 + k) {
                fr.op = Op::Packet;
                fr.index = int(le(f, 3, 2));
                fr.data = f.sliced(7, k).toByteArray();
            }
            break;
        }
        case 0xc2:
            if (f.size() >= 11) {
                fr.op = Op::End;
                fr.index = int(le(f, 3, 2));
                fr.sum = le(f, 5, 3);
                fr.count = le(f, 8, 3);
            }
            break;
        default:
            break;
        }
        break;
    }
    case Kind::Remote: {
        if (!startsWith(f, {0x0d, 0x80, 0xba}))
            return fr;
        firmware = true;
        switch (at(f, 3)) {
        case 0xc0:
            fr.op = Op::Start;
            break;
        case 0xc1: {
            const int k = int(le(f, 6, 2));
            if (k >= 1 && k <= 56 && f.size() >= 8 + k) {
                fr.op = Op::Packet;
                fr.index = int(le(f, 4, 2));
                fr.data = f.sliced(8, k).toByteArray();
            }
            break;
        }
        case 0xc2:
            if (f.size() >= 12) {
                fr.op = Op::End;
                fr.index = int(le(f, 4, 2));
                fr.sum = le(f, 6, 3);
                fr.count = le(f, 9, 3);
            }
            break;
        default:
            break;
        }
        break;
    }
    case Kind::Ble: {
        if (at(f, 0) != 0x4d || at(f, 2) < 0x70 || at(f, 2) > 0x74)
            return fr;
        firmware = true;
        const int len = at(f, 1);
        switch (at(f, 2)) {
        case 0x70:
            if (f.size() == 4 && len == 4 && at(f, 3) == 0x4c)
                fr.op = Op::Start;
            break;
        case 0x71: {
            const int k = len - 5;
            if (k >= 1 && k <= 128 && f.size() == len) {
                fr.op = Op::Packet;
                fr.index = int(le(f, 3, 2));
                fr.data = f.sliced(5, k).toByteArray();
            }
            break;
        }
        case 0x72:
            if (f.size() == 12 && len == 0x0c && at(f, 11) == 0x4c) {
                fr.op = Op::End;
                fr.count = le(f, 3, 4);
                fr.sum = le(f, 7, 4);
            }
            break;
        case 0x74:
            if (f.size() == 4 && len == 4 && at(f, 3) == 0x4c)
                fr.op = Op::Cancel;
            break;
        default:
            break;
        }
        break;
    }
    }
    if (firmware && fr.op == Op::None)
        ++m_malformed;
    return fr;
}

// --- answering ---------------------------------------------------------------------------------------

QByteArray FirmwareBootloader::startReply(bool accepted) const
{
    switch (m_kind) {
    case Kind::Mouse:
        return bytes({0x0d, 0x5a, 0x4d, 0x70, accepted ? 0 : 1});
    case Kind::Ble:
        return bytes({0x4d, 0x70, accepted ? 0 : 1, 0x4c});
    case Kind::Receiver:
        return accepted ? bytes({0x0d, 0xab, 0xc0}) : QByteArray();
    case Kind::Remote:
        return accepted ? bytes({0x0d, 0x81, 0xab, 0xc0, 0x64, 0x00}) : QByteArray();
    }
    return {};
}

QByteArray FirmwareBootloader::packetReply(bool accepted, int echo) const
{
    switch (m_kind) {
    case Kind::Mouse:
        return bytes({0x0d, 0x5a, 0x4d, 0x71, accepted ? 0 : 1});
    case Kind::Ble:
        return bytes({0x4d, 0x71, accepted ? 0 : 1, 0x4c});
    case Kind::Receiver:
        return bytes({0x0d, 0xab, 0xc1, echo & 0xff, (echo >> 8) & 0xff});
    case Kind::Remote:
        return bytes({0x0d, 0x81, 0xab, 0xc1, echo & 0xff, (echo >> 8) & 0xff});
    }
    return {};
}

QByteArray FirmwareBootloader::endReply(bool accepted) const
{
    switch (m_kind) {
    case Kind::Mouse:
        return bytes({0x0d, 0x5a, 0x4d, 0x72, accepted ? 0 : 1});
    case Kind::Ble:
        return bytes({0x4d, 0x72, accepted ? 0 : 1, 0x4c});
    case Kind::Receiver:
        return accepted ? bytes({0x0d, 0xab, 0xc2}) : QByteArray();
    case Kind::Remote:
        return bytes({0x0d, 0x81, 0xab, 0xc2, 0x00, 0x00, accepted ? 0x55 : 0x54});
    }
    return {};
}

QByteArray FirmwareBootloader::cancelReply() const
{
    switch (m_kind) {
    case Kind::Mouse:
        return bytes({0x0d, 0x5a, 0x4d, 0x74, 0x00});
    case Kind::Ble:
        return bytes({0x4d, 0x74, 0x00, 0x4c});
    case Kind::Receiver:
    case Kind::Remote:
        break;
    }
    return {};
}

bool FirmwareBootloader::silent(int packetIndex) const
{
    return m_silenced || (m_script.silentFrom >= 0 && packetIndex >= m_script.silentFrom);
}

QList<QByteArray> FirmwareBootloader::receive(QByteArrayView frame)
{
    const Frame fr = decode(frame);
    QByteArray answer;
    switch (fr.op) {
    case Op::None:
        return {};
    case Op::Start:
        ++m_starts;
        m_events << QStringLiteral("start");
        if (m_script.silentFrom == kSilentAtStart) {
            m_silenced = true;
            return {};
        }
        if (m_script.refuseStart) {
            m_events << QStringLiteral("start refused");
            answer = startReply(false);
            break;
        }
        m_started = true;
        m_silenced = false;
        m_expected = firstIndex();
        m_bytes.clear();
        m_sum = 0;
        m_kept = 0;
        m_result = Result::None;
        answer = startReply(true);
        break;
    case Op::Packet: {
        if (!m_started) {
            m_events << QStringLiteral("packet %1 outside a transfer").arg(fr.index);
            return {};
        }
        if (silent(fr.index)) {
            m_silenced = true;
            m_events << QStringLiteral("silent at %1").arg(fr.index);
            return {};
        }
        if (fr.index != m_expected || fr.index == m_script.refusePacket) {
            m_events << QStringLiteral("refused %1").arg(fr.index);
            answer = packetReply(false, (m_expected - 1) & 0xffff);
            break;
        }
        m_bytes += fr.data;
        for (char c : fr.data)
            m_sum += uint8_t(c);
        ++m_expected;
        ++m_kept;
        m_events << QStringLiteral("packet %1").arg(fr.index);
        answer = packetReply(true, fr.index == m_script.wrongIndexAt ? fr.index + 7 : fr.index);
        break;
    }
    case Op::End: {
        if (!m_started || m_silenced) {
            m_events << QStringLiteral("end unanswered");
            return {};
        }
        const bool narrow = m_kind == Kind::Receiver || m_kind == Kind::Remote;
        const quint32 mask = narrow ? 0xffffffu : 0xffffffffu;
        const bool ok = !m_bytes.isEmpty() && fr.count == (quint32(m_bytes.size()) & mask) && fr.sum == (m_sum & mask)
                        && (!narrow || fr.index == m_expected) && (m_reference.isEmpty() || m_bytes == m_reference);
        m_result = ok ? Result::Success : Result::Failure;
        m_started = false;
        m_events << (ok ? QStringLiteral("end ok") : QStringLiteral("end failed"));
        answer = endReply(ok);
        break;
    }
    case Op::Cancel:
        ++m_cancels;
        m_events << QStringLiteral("cancel");
        m_started = false;
        answer = m_silenced ? QByteArray() : cancelReply();
        break;
    }
    if (answer.isEmpty())
        return {};
    return {answer};
}

// --- behind the transports -------------------------------------------------------------------------

SimHidBootloader::SimHidBootloader(SimulatedReceiver &receiver, FirmwareBootloader::Kind kind,
                                   FirmwareBootloader::Script script)
    : m_receiver(receiver), m_device(kind, script)
{
    m_receiver.setResponder(
        [this](SimulatedReceiver &rx, const SimulatedReceiver::Interface &i, const QByteArray &report) {
            if (i.role != SimulatedReceiver::Role::Command)
                return;
            for (QByteArray answer : m_device.receive(report)) {
                answer.resize(64, '\0');
                rx.reply(SimulatedReceiver::Role::Command, answer, m_device.script().replyDelayMs);
            }
        });
}

SimHidBootloader::~SimHidBootloader()
{
    m_receiver.setResponder({});
}

SimBleBootloader::SimBleBootloader(FakeBleAdapter &adapter, QString peripheral, QString otaWriteUuid,
                                   QString notifyUuid, FirmwareBootloader::Script script)
    : m_adapter(adapter), m_peripheral(std::move(peripheral)), m_otaWrite(platform::normalizedBleUuid(otaWriteUuid)),
      m_notify(std::move(notifyUuid)), m_device(FirmwareBootloader::Kind::Ble, script)
{
    auto alive = std::make_shared<bool>(true);
    m_adapter.onWrite = [this, alive](const FakeBleAdapter::Write &w) {
        if (platform::normalizedBleUuid(w.characteristic.characteristic) != m_otaWrite)
            return;
        if (w.data.size() > m_adapter.mtu() - 3)
            ++m_oversized;
        std::weak_ptr<bool> token = alive;
        for (const QByteArray &answer : m_device.receive(w.data)) {
            FakeBleAdapter *adapter = &m_adapter;
            const QString id = m_peripheral;
            const QString notify = m_notify;
            Scheduler::instance().singleShot(m_device.script().replyDelayMs, [token, adapter, id, notify, answer] {
                if (!token.expired())
                    adapter->notify(id, notify, answer);
            });
        }
    };
}

SimBleBootloader::~SimBleBootloader()
{
    m_adapter.onWrite = nullptr; // drops the token, so answers still scheduled are not delivered
}

} // namespace sim
