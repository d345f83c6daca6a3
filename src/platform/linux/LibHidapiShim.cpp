#include "LibHidapiShim.h"

#include <hidapi.h>

namespace platform {
namespace {

QString wideText(const wchar_t *text)
{
    // wchar_t is UTF-32 on Linux, which is what the library hands out.
    return text ? QString::fromWCharArray(text) : QString();
}

class LibHidapiDevice final : public HidapiDevice {
public:
    explicit LibHidapiDevice(hid_device *device) : m_device(device) {}
    ~LibHidapiDevice() override { hid_close(m_device); }
    LibHidapiDevice(const LibHidapiDevice &) = delete;
    LibHidapiDevice &operator=(const LibHidapiDevice &) = delete;

    int setNonblocking(bool nonblocking) override { return hid_set_nonblocking(m_device, nonblocking ? 1 : 0); }
    int getFeatureReport(unsigned char *data, std::size_t length) override
    {
        return hid_get_feature_report(m_device, data, length);
    }
    int write(const unsigned char *data, std::size_t length) override { return hid_write(m_device, data, length); }
    QString error() override { return wideText(hid_error(m_device)); }

private:
    hid_device *m_device;
};

} // namespace

int LibHidapiShim::init()
{
    return hid_init();
}

int LibHidapiShim::exit()
{
    return hid_exit();
}

std::vector<HidapiDeviceInfo> LibHidapiShim::enumerate(quint16 vendorId, quint16 productId)
{
    std::vector<HidapiDeviceInfo> result;
    hid_device_info *list = hid_enumerate(vendorId, productId);
    for (hid_device_info *d = list; d; d = d->next) {
        HidapiDeviceInfo info;
        info.path = QByteArray(d->path ? d->path : "");
        info.vendorId = d->vendor_id;
        info.productId = d->product_id;
        info.serialNumber = wideText(d->serial_number);
        info.usagePage = d->usage_page;
        info.usage = d->usage;
        info.interfaceNumber = d->interface_number;
        result.push_back(std::move(info));
    }
    hid_free_enumeration(list);
    return result;
}

std::unique_ptr<HidapiDevice> LibHidapiShim::openPath(const QByteArray &path)
{
    hid_device *device = hid_open_path(path.constData());
    if (!device)
        return nullptr;
    return std::make_unique<LibHidapiDevice>(device);
}

QString LibHidapiShim::lastError()
{
    return wideText(hid_error(nullptr));
}

} // namespace platform
