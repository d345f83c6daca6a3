#include "DefaultInputDevice.h"

#include "PZLog.h"

platform::InputSwitch set_default_input_device_by_name(platform::IDefaultInputSwitcher &switcher, const QString &name)
{
    const platform::InputSwitch result = switcher.setByName(name);
    switch (result) {
    case platform::InputSwitch::Changed:
        qxInfo("audio") << "the default input is now" << name;
        break;
    case platform::InputSwitch::NotFound:
        qxInfo("audio") << "no input device is called" << name << "- the default input stays";
        break;
    case platform::InputSwitch::Error:
        qxInfo("audio") << "the default input cannot be set to" << name;
        break;
    }
    return result;
}
