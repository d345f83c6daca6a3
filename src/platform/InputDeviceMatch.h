#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace platform {

// One device as the sound server lists it, with the names a user might know it by.
struct InputDeviceCandidate {
    QByteArray id;       // the server's own name for it
    bool isInput = true; // false for output devices and monitors of outputs
    QString description; // the name desktops show
    QString productName; // the USB product string, where the device has one
    QString cardName;    // the sound card's name
};

// The input device that bears exactly this name: the first, in list order, whose
// description equals it; failing that, whose product name; failing that, whose card
// name. Case matters and an empty name matches nothing. -1 when none does.
int matchInputDevice(const std::vector<InputDeviceCandidate> &devices, const QString &name);

} // namespace platform
