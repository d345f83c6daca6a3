#include "BleStateDelegate.h"

#include "BleNotificationParser.h"
#include "QXMouseCommandManager.h"
#include "QXUserInfoData.h"

BleStateDelegate::BleStateDelegate(BleNotificationParser *parser, QXMouseCommandManager *facade)
    : m_parser(parser), m_facade(facade)
{
}

BleNotificationParser &BleStateDelegate::parser() const
{
    return m_parser ? *m_parser : BleNotificationParser::sharedInstance();
}

QXMouseCommandManager &BleStateDelegate::facade() const
{
    return m_facade ? *m_facade : QXMouseCommandManager::sharedInstance();
}

bool BleStateDelegate::isConnect() const
{
    return QXUserInfoData::sharedInstance().isConnect();
}

void BleStateDelegate::setDeviceName(const QString &name)
{
    QXUserInfoData::sharedInstance().setDeviceName(name);
}

void BleStateDelegate::setBlueDeviceMac(const QString &mac)
{
    QXUserInfoData::sharedInstance().setBlueDeviceMac(mac);
}

void BleStateDelegate::setBleConnect(bool connected)
{
    QXUserInfoData::sharedInstance().setBleConnect(connected);
}

void BleStateDelegate::setDeviceType(int deviceType)
{
    QXUserInfoData::sharedInstance().mouseInfoItem().setDeviceType(quint64(deviceType));
}

void BleStateDelegate::setIsFromMicData(bool fromDevice)
{
    facade().setIsFromMicData(fromDevice);
}

void BleStateDelegate::eventTypeConvertDataToHexStr(const QByteArray &value)
{
    parser().eventTypeConvertDataToHexStr(value);
}
