#pragma once

#include "BleManagerDelegate.h"

class BleNotificationParser;
class QXMouseCommandManager;

// Connects the Bluetooth LE central to the rest of the application: the connection
// state goes to the application state, the device type to the mouse state, the voice
// source to the command facade, and every value to the notification parser.
class BleStateDelegate final : public BleManagerDelegate {
public:
    // nullptr: the shared parser and facade.
    explicit BleStateDelegate(BleNotificationParser *parser = nullptr, QXMouseCommandManager *facade = nullptr);

    // A mouse is connected, on USB or already on Bluetooth LE.
    bool isConnect() const override;
    void setDeviceName(const QString &name) override;
    void setBlueDeviceMac(const QString &mac) override;
    void setBleConnect(bool connected) override;
    void setDeviceType(int deviceType) override;
    void setIsFromMicData(bool fromDevice) override;
    void eventTypeConvertDataToHexStr(const QByteArray &value) override;

private:
    BleNotificationParser &parser() const;
    QXMouseCommandManager &facade() const;

    BleNotificationParser *m_parser;
    QXMouseCommandManager *m_facade;
};
