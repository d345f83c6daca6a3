#include "HidrawProperties.h"

#include "platform/HidReportDescriptor.h"

#include <QStringList>

namespace platform::linuxbackend {

std::optional<quint32> parseSysfsHex(const QString &text, int maxDigits)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > maxDigits)
        return std::nullopt;
    quint32 v = 0;
    for (const QChar c : t) {
        const int d = c.isDigit() ? c.unicode() - '0'
                      : (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'))
                          ? c.toLower().unicode() - 'a' + 10
                          : -1;
        if (d < 0)
            return std::nullopt;
        v = (v << 4) | quint32(d);
    }
    return v;
}

std::optional<HidId> parseHidId(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    if (parts.size() != 3)
        return std::nullopt;
    const auto bus = parseSysfsHex(parts[0], 8);
    const auto vendor = parseSysfsHex(parts[1], 8);
    const auto product = parseSysfsHex(parts[2], 8);
    if (!bus || !vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF)
        return std::nullopt;
    return HidId{*bus, quint16(*vendor), quint16(*product)};
}

namespace {

// sysfs ends attribute texts with a newline; anything else belongs to the device's string.
QString chomp(QString text)
{
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text;
}

} // namespace

HidDeviceInfo mapHidrawSnapshot(const HidrawSnapshot &s)
{
    HidDeviceInfo info;
    info.path = s.devNode;
    info.usbDevice = s.usbDevicePath;

    const auto hidId = parseHidId(s.hidId);
    const auto usbVendor = parseSysfsHex(s.idVendor);
    const auto usbProduct = parseSysfsHex(s.idProduct);
    if (usbVendor && usbProduct) {
        info.vendorId = quint16(*usbVendor);
        info.productId = quint16(*usbProduct);
    } else if (hidId) {
        info.vendorId = hidId->vendorId;
        info.productId = hidId->productId;
    }
    if (const auto bcd = parseSysfsHex(s.bcdDevice))
        info.versionNumber = quint16(*bcd);

    // The USB product string is what the receivers are told apart by; HID_NAME
    // prefixes the manufacturer, so it is only a stand-in for non-USB devices.
    info.product = chomp(s.usbDevicePath.isEmpty() ? s.hidName : s.product);
    info.serialNumber = chomp(!s.serial.isEmpty() ? s.serial : s.hidUniq);

    const auto summary = parseHidReportDescriptor(
        reinterpret_cast<const std::uint8_t *>(s.reportDescriptor.constData()), std::size_t(s.reportDescriptor.size()));
    if (summary.hasPrimary) {
        info.primaryUsagePage = summary.primary.page;
        info.primaryUsage = summary.primary.usage;
    }
    return info;
}

} // namespace platform::linuxbackend
