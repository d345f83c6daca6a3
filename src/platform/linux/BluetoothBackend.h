#pragma once

#include "platform/IBleCentral.h"

#include <memory>

namespace platform::linuxbackend {

// A Bluetooth LE central on BlueZ. QtBluetooth lives in a module of its own
// (libqx_bluetooth.so, found where libqx_multimedia.so is), loaded for the first central
// made while BlueZ lists an adapter: a computer without one never maps it. Without an
// adapter, or without the module (logged once), the central reports "unsupported",
// logs that once and answers every request as a no-op or a failure.
std::unique_ptr<IBleCentral> createBleCentral();

} // namespace platform::linuxbackend
