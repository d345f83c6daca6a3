#include "HidInfoConnection.h"

#include "HIDDevice.h"
#include "QXUserInfoData.h"
#include "platform/ShortcutBinder.h"

HidInfoConnection::HidInfoConnection(HIDDevice &device, HidInfoReader &reader, platform::ShortcutBinder *binder)
    : m_device(device), m_state(QXUserInfoData::sharedInstance())
{
    HidDeviceSinks &sinks = device.sinks();
    sinks.readDeviceInfo = [&device, &reader](const QByteArray &report) {
        reader.getDeivceInfoWithBuf(report, quint16(device.currentVid()), quint16(device.currentPid()));
    };
    sinks.registerHotKey = [&device, &reader] {
        reader.registerHotKey(quint16(device.currentVid()), quint16(device.currentPid()));
    };
    sinks.breakBindingWithDefaultsKey = [binder](const QString &key) {
        (binder ? *binder : platform::ShortcutBinder::sharedBinder()).breakBindingWithDefaultsKey(key);
    };
    m_state.setRegisterHotKeyHandler([&device] { device.registerHotKey(); });
}

HidInfoConnection::~HidInfoConnection()
{
    HidDeviceSinks &sinks = m_device.sinks();
    sinks.readDeviceInfo = nullptr;
    sinks.registerHotKey = nullptr;
    sinks.breakBindingWithDefaultsKey = nullptr;
    m_state.setRegisterHotKeyHandler(nullptr);
}

HidInfoReader::Deps HidInfoConnection::pressTypeDeps(HIDDevice &device, HidInfoReader::Deps deps)
{
    deps.pressType = [&device] { return device.pressType(); };
    deps.setPressType = [&device](qint64 type) { device.setPressType(type); };
    return deps;
}
