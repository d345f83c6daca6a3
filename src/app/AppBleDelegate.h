#pragma once

#include "BleManagerDelegate.h"

#include <functional>

class QXUserInfoData;
class QXMouseCommandManager;

// Connects the Bluetooth LE central to the application state, the command facade's
// voice source and the notification parser. The parser arrives as a hook; until one is
// set, values from the peripheral are dropped with one log line.
class AppBleDelegate final : public BleManagerDelegate {
public:
    using Parser = std::function<void(const QByteArray &value)>;

    AppBleDelegate(QXUserInfoData &state, QXMouseCommandManager &facade, Parser parser = {});

    bool isConnect() const override;
    void setDeviceName(const QString &name) override;
    void setBlueDeviceMac(const QString &mac) override;
    void setBleConnect(bool connected) override;
    void setDeviceType(int deviceType) override;
    void setIsFromMicData(bool fromDevice) override;
    void eventTypeConvertDataToHexStr(const QByteArray &value) override;

private:
    QXUserInfoData &m_state;
    QXMouseCommandManager &m_facade;
    Parser m_parser;
};
