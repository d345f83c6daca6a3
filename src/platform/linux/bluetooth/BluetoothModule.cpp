// The entry point of the Bluetooth LE module (see BluetoothBackend.h).
#include "BluezBleCentral.h"

extern "C" Q_DECL_EXPORT platform::IBleCentral *
qxCreateBleCentral(const platform::linuxbackend::ModuleHost *host,
                   platform::linuxbackend::BluezBleCentral::ConnectedQuery connected)
{
    return new platform::linuxbackend::BluezBleCentral(*host, connected);
}
