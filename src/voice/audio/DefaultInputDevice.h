#pragma once

#include "platform/IDefaultInputSwitcher.h"

#include <QtGlobal>

// Makes the input device of that exact name the session's default input, and logs
// what came of it.
platform::InputSwitch set_default_input_device_by_name(platform::IDefaultInputSwitcher &switcher, const QString &name);
