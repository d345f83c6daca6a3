#pragma once

#include "platform/IDefaultInputSwitcher.h"

#include <QtGlobal>

// The name of the audio input that the connected receiver brings: "ORVANE" for the
// receiver whose row has kOrvaneAudio, "Quorvex" for every other one and with none
// connected.
QString defaultInputDeviceName(quint16 vendorId, quint16 productId);

// Makes the input device of that exact name the session's default input, and logs
// what came of it.
platform::InputSwitch set_default_input_device_by_name(platform::IDefaultInputSwitcher &switcher, const QString &name);
