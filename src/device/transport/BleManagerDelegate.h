#pragma once

#include <QByteArray>
#include <QString>

// What the Bluetooth LE central reads from and writes to the rest of the application:
// the connection state kept in the application state, the device type of the mouse
// state, the command facade's voice source and the notification parser of the
// Bluetooth LE command manager. The composition root connects these; until then a
// stand-in answers "no USB mouse" and drops the rest.
class BleManagerDelegate {
public:
    virtual ~BleManagerDelegate() = default;

    // A mouse is connected over USB (it takes precedence over Bluetooth LE).
    virtual bool isConnect() const = 0;
    virtual void setDeviceName(const QString &name) = 0;
    virtual void setBlueDeviceMac(const QString &mac) = 0;
    virtual void setBleConnect(bool connected) = 0;
    virtual void setDeviceType(int deviceType) = 0;
    // The peripheral streams its own microphone.
    virtual void setIsFromMicData(bool fromDevice) = 0;
    // Every value the peripheral sends, for the notification parser.
    virtual void eventTypeConvertDataToHexStr(const QByteArray &value) = 0;
};
