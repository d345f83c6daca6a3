#pragma once

#include "platform/HidapiShim.h"

namespace platform {

// The hidapi shim over libhidapi-hidraw.
class LibHidapiShim final : public HidapiShim {
public:
    int init() override;
    int exit() override;
    std::vector<HidapiDeviceInfo> enumerate(quint16 vendorId, quint16 productId) override;
    std::unique_ptr<HidapiDevice> openPath(const QByteArray &path) override;
    QString lastError() override;
};

} // namespace platform
