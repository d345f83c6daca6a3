#include "InputDeviceMatch.h"

namespace platform {

int matchInputDevice(const std::vector<InputDeviceCandidate> &devices, const QString &name)
{
    if (name.isEmpty())
        return -1;
    // Sound servers rarely call a USB microphone by its product name alone ("<product>
    // Mono", "alsa_input.usb-..."), so the product and card names are asked as well, but
    // only after every description: a device whose shown name matches wins.
    const QString InputDeviceCandidate::*fields[] = {
        &InputDeviceCandidate::description, &InputDeviceCandidate::productName, &InputDeviceCandidate::cardName};
    for (const auto field : fields)
        for (size_t i = 0; i < devices.size(); ++i)
            if (devices[i].isInput && devices[i].*field == name)
                return int(i);
    return -1;
}

} // namespace platform
