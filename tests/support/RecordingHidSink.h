#pragma once

// Header only: include from tests that link the device transport layer.
#include "HidCommandSink.h"
#include "QXUserInfoData.h"

#include <QByteArray>
#include <QList>

// Stands in for the HID device below the command builders: keeps every report as the
// device would put it on the wire, that is the command buffer cut to the output-report
// length of the connected family, read from the application state at the moment of
// the send. With deviceOpen false the reports are dropped, as with no receiver open.
class RecordingHidSink : public HidCommandSink {
public:
    bool deviceOpen = true;
    bool isLength33 = false;
    QList<QByteArray> reports;
    QList<qint64> pressTypes;

    // The output-report length rule of the HID device.
    static int reportLength(qint64 chipPlan, quint64 deviceType, bool isLength33, const HidCommandBuffer &buf)
    {
        if (buf[0] == 0x1b && buf[1] == 0xa5)
            return 5;
        if (deviceType == 5)
            return 8;
        switch (chipPlan) {
        case 1:
            return 16;
        case 3:
            return 24;
        case 4:
        case 7:
            return 21;
        case 6:
            return deviceType == 2 || isLength33 ? 33 : 21;
        default:
            return 64;
        }
    }

    void hidRequestSendCommand(const HidCommandBuffer &buffer) override
    {
        if (!deviceOpen)
            return;
        const QXUserInfoData &state = QXUserInfoData::sharedInstance();
        const int n = reportLength(state.chipPlan(), state.mouseInfoItem().deviceType(), isLength33, buffer);
        reports << QByteArray(reinterpret_cast<const char *>(buffer.data()), n);
    }
    void setPressType(qint64 pressType) override { pressTypes << pressType; }

    // Rn(x) of the protocol notes: the hex bytes x, zero-padded to n bytes.
    static QByteArray R(int n, const char *hex)
    {
        QByteArray b = QByteArray::fromHex(hex);
        b.resize(n, '\0');
        return b;
    }
};
