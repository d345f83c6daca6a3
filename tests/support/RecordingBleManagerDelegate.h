#pragma once

// Header only: include from tests that link the device transport layer.
#include "BleManagerDelegate.h"

#include <QByteArrayList>
#include <QStringList>

// Stands in for the application state and the Bluetooth LE notification parser: keeps
// what the central writes and every value it forwards.
class RecordingBleManagerDelegate : public BleManagerDelegate {
public:
    bool usbMouseConnected = false;
    QString deviceName;
    QString blueDeviceMac;
    bool bleConnect = false;
    int deviceType = -1;
    bool isFromMicData = false;
    QByteArrayList values;
    QStringList calls;

    bool isConnect() const override { return usbMouseConnected; }
    void setDeviceName(const QString &name) override
    {
        deviceName = name;
        calls << QStringLiteral("deviceName=%1").arg(name);
    }
    void setBlueDeviceMac(const QString &mac) override
    {
        blueDeviceMac = mac;
        calls << QStringLiteral("blueDeviceMac=%1").arg(mac);
    }
    void setBleConnect(bool on) override
    {
        bleConnect = on;
        calls << QStringLiteral("bleConnect=%1").arg(on);
    }
    void setDeviceType(int type) override
    {
        deviceType = type;
        calls << QStringLiteral("deviceType=%1").arg(type);
    }
    void setIsFromMicData(bool on) override
    {
        isFromMicData = on;
        calls << QStringLiteral("isFromMicData=%1").arg(on);
    }
    void eventTypeConvertDataToHexStr(const QByteArray &value) override { values << value; }
};
