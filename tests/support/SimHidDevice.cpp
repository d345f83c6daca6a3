#include "SimHidDevice.h"

#include "FrameDecoder.h"

using Role = SimulatedReceiver::Role;

namespace {

QByteArray padded(QByteArray b, int n)
{
    if (b.size() < n)
        b.append(QByteArray(n - b.size(), '\0'));
    return b;
}

QByteArray le16(int v)
{
    QByteArray b;
    b.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
    return b;
}

} // namespace

SimHidDevice::SimHidDevice(SimulatedReceiver &receiver, int chipPlan, Mouse mouse)
    : m_rx(receiver), m_plan(chipPlan), m_mouse(std::move(mouse))
{
    m_rx.setResponder([this](SimulatedReceiver &, const SimulatedReceiver::Interface &i, const QByteArray &report) {
        if (i.role == Role::Command)
            received(report);
    });
}

SimHidDevice::~SimHidDevice()
{
    m_rx.setResponder({});
}

void SimHidDevice::send(const QByteArray &report, int delayMs)
{
    m_rx.reply(Role::Command, report, delayMs);
}

void SimHidDevice::sendVoiceEvent(bool start)
{
    if (m_plan == 6 || m_plan == 7) {
        QByteArray b = QByteArray::fromHex(m_plan == 7 ? "a6044d" : "0c4d04");
        send(padded(b.append(char(start ? 0x62 : 0x63)), 21));
        return;
    }
    send(framed(start ? 0x5a : 0x00, 0, {}));
}

void SimHidDevice::received(const QByteArray &report)
{
    const auto d = sim::FrameDecoder::decodeHid(m_plan, report);
    const QString command = d ? d->command : QStringLiteral("?") + QString::fromLatin1(report.toHex());
    m_heard << command;
    answer(command);
}

QByteArray SimHidDevice::framed(int command, int status, const QByteArray &payload) const
{
    QByteArray b = QByteArray::fromHex("0d5a4d");
    b.append(char(command)).append(char(status)).append(payload);
    b = padded(b, 63);
    return b.left(63) + QByteArray::fromHex("4c");
}

QByteArray SimHidDevice::infoReport() const
{
    const Mouse &m = m_mouse;
    switch (m_plan) {
    case 2: {
        QByteArray p = padded(m.serial, 30) + le16(m.pid) + le16(m.vid);
        p.append(char(1)).append(char(0)).append(char(m.icType)).append(char(m.dpi)).append(char(m.model));
        p.append(char(m.battery)).append(padded(m.firmware, 6).left(6));
        return framed(0x61, 0, p);
    }
    case 6:
    case 7: {
        QByteArray b = m_plan == 7 ? QByteArray::fromHex("a6134d61") : QByteArray::fromHex("0c4d1361");
        b += "QX" + m.serialBytes.left(8);
        b.append(char(0x02)).append(char(m.icType)).append(char(m.dpi));
        b.append(char(m.model & 0xff)).append(char(m.battery)).append(char(m.firmwareByte));
        b.append(char(m.model >> 8));
        return padded(b, 21);
    }
    case 4: {
        QByteArray b = QByteArray::fromHex("0c102f");
        b.append(char(m.battery)).append(char(m.model)).append(char(0)).append(char(m.icType)).append(char(m.dpi));
        return padded(b, 21);
    }
    default:
        return {};
    }
}

QByteArray SimHidDevice::statusReport() const
{
    const int status = m_mouse.present ? 0 : 1;
    switch (m_plan) {
    case 2:
        return framed(0x69, status, {});
    case 6:
    case 7: {
        QByteArray b = m_plan == 7 ? QByteArray::fromHex("a6074d69") : QByteArray::fromHex("0c4d0869");
        b.append(char(status)).append(char(m_mouse.battery)).append(char(8)).append(char(1)).append(char(0));
        return padded(b, 21);
    }
    default:
        return {};
    }
}

void SimHidDevice::answer(const QString &command)
{
    const Mouse &m = m_mouse;
    QByteArray out;
    if (command == QLatin1String("sendSearchMouseConnectStatusData")) {
        out = statusReport();
    } else if (command == QLatin1String("sendGetMouseInfoData")) {
        // A receiver without its mouse cannot tell about it.
        if (!m.present)
            return;
        out = infoReport();
    } else if (m_plan == 4 && command == QLatin1String("sendGetMouseSN")) {
        out = m.present ? padded(QByteArray::fromHex("0c1038") + m.serialBytes.left(6), 21)
                        : padded(QByteArray::fromHex("0c00"), 21);
    } else if (m_plan == 4 && command == QLatin1String("sendGetDeviceFireware")) {
        out = padded(QByteArray::fromHex("0c102e") + m.firmware, 21);
    } else if (m_plan == 2 && command.startsWith(QLatin1String("sendGetLightingEffects"))) {
        static const char *const names[] = {"Mode", "Brightness", "Speed", "Color"};
        for (int i = 0; i < 4; ++i)
            if (command.endsWith(QLatin1String(names[i]) + QLatin1String("Data")))
                out = framed(0x83 + 2 * i, 0, QByteArray(1, char(m.lighting)));
    } else if (m_plan == 2 && command == QLatin1String("sendGetMouseLeftOrRightHandBehavior")) {
        out = framed(0x8b, 0, QByteArray(1, char(m.lighting)));
    }
    if (!out.isEmpty())
        send(out, kAnswerDelayMs);
}
