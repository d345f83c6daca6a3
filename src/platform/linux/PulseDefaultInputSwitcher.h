#pragma once

#include "platform/IDefaultInputSwitcher.h"

namespace platform::linuxbackend {

// The default source of the PulseAudio server (or PipeWire's pulse layer). Monitors
// of outputs are not inputs; names are matched as matchInputDevice() says. The change
// holds for the whole session, as other applications' recordings follow the default.
class PulseDefaultInputSwitcher final : public IDefaultInputSwitcher {
public:
    InputSwitch setByName(const QString &name) override;
};

} // namespace platform::linuxbackend
