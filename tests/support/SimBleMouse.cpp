#include "SimBleMouse.h"

namespace sim {

namespace {

constexpr uint8_t kAck = 0x10;
constexpr uint8_t kVoiceStart = 0x5a;
constexpr uint8_t kVoiceEnd = 0x00;

void putLe16(QByteArray &out, uint16_t v)
{
    out.append(char(v & 0xff));
    out.append(char(v >> 8));
}

QByteArray padded(QByteArray bytes, int size)
{
    bytes = bytes.left(size);
    bytes.append(QByteArray(size - bytes.size(), '\0'));
    return bytes;
}

} // namespace

SimBleMouse::SimBleMouse(FakeBleAdapter &adapter, std::vector<int16_t> signal)
    : m_adapter(adapter), m_signal(std::move(signal))
{
    m_adapter.onWrite = [this](const FakeBleAdapter::Write &w) { onWrite(w); };
}

SimBleMouse::~SimBleMouse()
{
    cancelTimer(Scheduler::instance(), m_timer);
    m_adapter.onWrite = nullptr;
}

FakeBleAdapter::Peripheral SimBleMouse::peripheral()
{
    using namespace platform::bleprop;
    const QString service = QStringLiteral("A8253F01-0C51-4000-B84F-1500068FB5A3");
    FakeBleAdapter::Peripheral p;
    p.id = kId;
    p.name = QStringLiteral("Quorvex Mouse");
    p.advertisedServices = {service};
    p.services = {{service,
                   {{QStringLiteral("A8253F03-0C51-4000-B84F-1500068FB5A3"), Read, {}},
                    {kNotify, Notify, {}},
                    {kWrite, Write | WriteWithoutResponse, {}},
                    {kOtaWrite, WriteWithoutResponse, {}},
                    {QStringLiteral("A8253F05-0C51-4000-B84F-1500068FB5A3"), Notify, {}}}}};
    return p;
}

void SimBleMouse::sendRaw(const QByteArray &value)
{
    m_adapter.notify(kId, kNotify, value);
}

void SimBleMouse::sendEvent(uint8_t event, const QByteArray &payload, uint8_t status)
{
    QByteArray f;
    f.append(char(0x4d)).append(char(event)).append(char(status)).append(payload).append(char(0x4c));
    if (event != kAck)
        ++eventsSent;
    sendRaw(f);
}

void SimBleMouse::onWrite(const FakeBleAdapter::Write &w)
{
    if (w.characteristic.characteristic == platform::normalizedBleUuid(kOtaWrite)) {
        firmwareWrites << w.data;
        return;
    }
    const std::optional<DecodedFrame> f = FrameDecoder::decodeBle(w.data);
    if (!f) {
        undecodable << w.data;
        return;
    }
    commands << *f;
    answer(*f);
}

void SimBleMouse::answer(const DecodedFrame &f)
{
    if (f.command == QLatin1String("sendGetReceiveData")) {
        ++acknowledgements; // the application's acknowledgement is not acknowledged
        return;
    }
    sendEvent(kAck);
    const auto value = [&](uint8_t event, uint8_t v) { sendEvent(event, QByteArray(1, char(v))); };
    const int arg = f.args.isEmpty() ? 0 : f.args.first();
    if (f.command == QLatin1String("sendGetMouseInfoData"))
        sendEvent(0x61, infoPayload());
    else if (f.command == QLatin1String("sendOpenMicData"))
        startStream();
    else if (f.command == QLatin1String("sendCloseMicData"))
        stopStream();
    else if (f.command == QLatin1String("sendGetLightingEffectsModeData"))
        value(0x83, lightingMode);
    else if (f.command == QLatin1String("sendGetLightingEffectsBrightnessData"))
        value(0x85, lightingBrightness);
    else if (f.command == QLatin1String("sendGetLightingEffectsSpeedData"))
        value(0x87, lightingSpeed);
    else if (f.command == QLatin1String("sendGetLightingEffectsColorData"))
        value(0x89, lightingColor);
    else if (f.command == QLatin1String("sendGetMouseLeftOrRightHandBehavior"))
        value(0x8b, hand);
    else if (f.command == QLatin1String("sendSetLightingEffectsBrightnessData")) {
        lightingBrightness = uint8_t(arg);
        sendEvent(0x86);
    } else if (f.command == QLatin1String("sendSetDpiData")) {
        identity.dpi = uint8_t(arg);
        sendEvent(0x68);
    }
}

QByteArray SimBleMouse::infoPayload() const
{
    QByteArray p = padded(identity.sn, 30);
    putLe16(p, identity.pid);
    putLe16(p, identity.vid);
    for (uint8_t b :
         {identity.led, identity.mic, identity.icType, identity.dpi, identity.mouseType, identity.powerPercent})
        p.append(char(b));
    p.append(padded(identity.firmware, 6));
    return p;
}

void SimBleMouse::startStream()
{
    if (streaming())
        return;
    identity.mic = 1;
    sendEvent(kVoiceStart);
    m_timer = Scheduler::instance().repeating(kPacketIntervalMs, [this] {
        sendPacket(m_sizes[m_nextSize]);
        m_nextSize = (m_nextSize + 1) % m_sizes.size();
    });
}

void SimBleMouse::stopStream()
{
    if (!streaming())
        return;
    cancelTimer(Scheduler::instance(), m_timer);
    identity.mic = 0;
    sendEvent(kVoiceEnd);
}

void SimBleMouse::sendPacket(int bytes)
{
    QByteArray packet;
    for (int i = 0; i < bytes; ++i) {
        uint8_t pair = 0;
        for (int half = 0; half < 2; ++half) {
            const int sample = m_pos < m_signal.size() ? m_signal[m_pos] : 0;
            ++m_pos;
            const uint8_t code = m_encoder.encode(sample);
            m_expected.push_back(int16_t(m_encoder.predictor));
            pair |= uint8_t(code << (4 * half)); // low nibble first
        }
        packet.append(char(pair));
    }
    m_voiceBytes.append(packet);
    m_sent << bytes;
    sendRaw(packet);
}

QByteArray SimBleMouse::expectedPcm() const
{
    QByteArray out;
    for (int16_t s : m_expected)
        putLe16(out, uint16_t(s));
    return out;
}

} // namespace sim
