#include "platform/linux/HidrawProperties.h"
#include "platform/linux/LinuxUsbWatcher.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace platform::linuxbackend;

namespace {

const QByteArray kVendorDescriptor = QByteArray::fromHex("0605ff0900a101150026ff00750895100900810209009102c0");

HidrawSnapshot usbReceiver()
{
    HidrawSnapshot s;
    s.devNode = QStringLiteral("/dev/hidraw3");
    s.hidId = QStringLiteral("0003:000025BA:000024AB");
    s.hidName = QStringLiteral("Maker Quorvex MIC");
    s.hidUniq = QStringLiteral("uniq-from-hid");
    s.reportDescriptor = kVendorDescriptor;
    s.usbDevicePath = QStringLiteral("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2");
    s.idVendor = QStringLiteral("25ba");
    s.idProduct = QStringLiteral("24ab");
    s.bcdDevice = QStringLiteral("0110");
    s.product = QStringLiteral("Quorvex MIC");
    s.serial = QStringLiteral("R1");
    return s;
}

} // namespace

TEST(HidrawProperties, UsbReceiverMapsToTheInterfaceDescription)
{
    const HidDeviceInfo info = mapHidrawSnapshot(usbReceiver());
    EXPECT_EQ(info.path, QStringLiteral("/dev/hidraw3"));
    EXPECT_EQ(info.vendorId, 0x25BA);
    EXPECT_EQ(info.productId, 0x24AB);
    EXPECT_EQ(info.versionNumber, 0x0110);
    // The bare product string, not HID_NAME's "manufacturer product".
    EXPECT_EQ(info.product, QStringLiteral("Quorvex MIC"));
    EXPECT_EQ(info.serialNumber, QStringLiteral("R1"));
    EXPECT_EQ(info.primaryUsagePage, 0xFF05u);
    EXPECT_EQ(info.primaryUsage, 0u);
    EXPECT_EQ(info.usbDevice, QStringLiteral("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2"));
}

TEST(HidrawProperties, MissingOrBadAttributesFallBackOrReadAsZero)
{
    {
        SCOPED_TRACE("no USB parent: ids from HID_ID, name and serial from the HID properties");
        HidrawSnapshot s;
        s.devNode = QStringLiteral("/dev/hidraw0");
        s.hidId = QStringLiteral("0005:0000248A:00008373");
        s.hidName = QStringLiteral("Telink Pointer");
        s.hidUniq = QStringLiteral("a4:c1:38:00:00:01");
        const HidDeviceInfo info = mapHidrawSnapshot(s);
        EXPECT_EQ(info.vendorId, 0x248A);
        EXPECT_EQ(info.productId, 0x8373);
        EXPECT_EQ(info.versionNumber, 0);
        EXPECT_EQ(info.product, QStringLiteral("Telink Pointer"));
        EXPECT_EQ(info.serialNumber, QStringLiteral("a4:c1:38:00:00:01"));
        EXPECT_EQ(info.primaryUsagePage, 0u);
    }
    {
        SCOPED_TRACE("non-hex USB ids fall back to HID_ID; non-hex release reads 0");
        HidrawSnapshot s = usbReceiver();
        s.idVendor = QStringLiteral("zz12");
        s.bcdDevice = QStringLiteral("1.10");
        const HidDeviceInfo info = mapHidrawSnapshot(s);
        EXPECT_EQ(info.vendorId, 0x25BA);
        EXPECT_EQ(info.productId, 0x24AB);
        EXPECT_EQ(info.versionNumber, 0);
    }
    {
        SCOPED_TRACE("an event without attributes describes nothing");
        HidrawSnapshot s;
        const HidDeviceInfo info = mapHidrawSnapshot(s);
        EXPECT_EQ(info, HidDeviceInfo{});
    }
    {
        SCOPED_TRACE("USB device without serial: HID_UNIQ; product keeps inner spaces, loses the newline");
        HidrawSnapshot s = usbReceiver();
        s.serial.clear();
        s.product = QStringLiteral("Nimbo Quorvex \n");
        const HidDeviceInfo info = mapHidrawSnapshot(s);
        EXPECT_EQ(info.serialNumber, QStringLiteral("uniq-from-hid"));
        EXPECT_EQ(info.product, QStringLiteral("Nimbo Quorvex "));
    }
    {
        SCOPED_TRACE("truncated descriptor: primary usage is what was read before the cut");
        HidrawSnapshot s = usbReceiver();
        s.reportDescriptor = QByteArray::fromHex("06ef");
        EXPECT_EQ(mapHidrawSnapshot(s).primaryUsagePage, 0u);
    }
}

TEST(HidrawProperties, HexTexts)
{
    struct Row {
        const char *text;
        int maxDigits;
        std::optional<quint32> expected;
    } rows[] = {
        {"25ba", 4, 0x25BA},         {"25BA\n", 4, 0x25BA},
        {" 1f ", 4, 0x1F},           {"0", 4, 0},
        {"", 4, std::nullopt},       {"12345", 4, std::nullopt},
        {"0x12", 4, std::nullopt},   {"-1", 4, std::nullopt},
        {"g0", 4, std::nullopt},     {"000025BA", 8, 0x25BA},
        {"ffffffff", 8, 0xFFFFFFFF}, {"1ffffffff", 8, std::nullopt},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(parseSysfsHex(QString::fromLatin1(r.text), r.maxDigits), r.expected);
    }

    const auto id = parseHidId(QStringLiteral("0003:000025BA:000024AB"));
    ASSERT_TRUE(id);
    EXPECT_EQ(id->bus, 3u);
    EXPECT_EQ(id->vendorId, 0x25BA);
    EXPECT_FALSE(parseHidId(QStringLiteral("0003:000025BA")));
    EXPECT_FALSE(parseHidId(QStringLiteral("0003:000125BA:000024AB"))); // vendor beyond 16 bits
    EXPECT_FALSE(parseHidId(QStringLiteral("0003:xyz:000024AB")));

    quint16 v = 0, p = 0;
    EXPECT_TRUE(parseUsbProductProperty(QStringLiteral("25ba/24ab/110"), &v, &p));
    EXPECT_EQ(v, 0x25BA);
    EXPECT_EQ(p, 0x24AB);
    EXPECT_FALSE(parseUsbProductProperty(QStringLiteral("25ba/24ab"), &v, &p));
    EXPECT_FALSE(parseUsbProductProperty(QString(), &v, &p));
}
