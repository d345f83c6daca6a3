#include "AppBleDelegate.h"

#include "PZLog.h"
#include "QXMouseCommandManager.h"
#include "QXUserInfoData.h"

AppBleDelegate::AppBleDelegate(QXUserInfoData &state, QXMouseCommandManager &facade, Parser parser)
    : m_state(state), m_facade(facade), m_parser(std::move(parser))
{
}

bool AppBleDelegate::isConnect() const
{
    return m_state.isConnect();
}

void AppBleDelegate::setDeviceName(const QString &name)
{
    m_state.setDeviceName(name);
}

void AppBleDelegate::setBlueDeviceMac(const QString &mac)
{
    m_state.setBlueDeviceMac(mac);
}

void AppBleDelegate::setBleConnect(bool connected)
{
    m_state.setBleConnect(connected);
}

void AppBleDelegate::setDeviceType(int deviceType)
{
    m_state.mouseInfoItem().setDeviceType(quint64(qMax(deviceType, 0)));
}

void AppBleDelegate::setIsFromMicData(bool fromDevice)
{
    m_facade.setIsFromMicData(fromDevice);
}

void AppBleDelegate::eventTypeConvertDataToHexStr(const QByteArray &value)
{
    if (!m_parser) {
        qxLogOnce(QStringLiteral("app.ble-parser"),
                  QStringLiteral("[ble] no notification parser connected; peripheral values are dropped"));
        return;
    }
    m_parser(value);
}
