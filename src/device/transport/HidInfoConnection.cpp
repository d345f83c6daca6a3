#include "HidInfoConnection.h"

#include "HIDDevice.h"
#include "QXUserInfoData.h"
#include "platform/ShortcutBinder.h"

HidInfoConnection::HidInfoConnection(HIDDevice &device, HidInfoReader &reader, platform::ShortcutBinder *binder)
    : m_device(device), m_reader(reader), m_binder(binder), m_state(QXUserInfoData::sharedInstance())
{
    m_state.setRegisterHotKeyHandler([&device] { device.registerHotKey(); });
}

HidInfoConnection::~HidInfoConnection()
{
    m_state.setRegisterHotKeyHandler(nullptr);
}

void HidInfoConnection::addSinks(HidDeviceSinks &sinks) const
{
    HIDDevice &device = m_device;
    HidInfoReader &reader = m_reader;
    sinks.readDeviceInfo = [&device, &reader](const QByteArray &report) {
        reader.getDeivceInfoWithBuf(report, quint16(device.currentVid()), quint16(device.currentPid()));
    };
    sinks.registerHotKey = [&device, &reader] {
        reader.registerHotKey(quint16(device.currentVid()), quint16(device.currentPid()));
    };
    sinks.breakBindingWithDefaultsKey = [binder = m_binder](const QString &key) {
        (binder ? *binder : platform::ShortcutBinder::sharedBinder()).breakBindingWithDefaultsKey(key);
    };
}
