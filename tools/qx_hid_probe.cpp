// qx-hid-probe: prints, for every HID interface of a known receiver (or every HID
// interface with --all), what the Linux backend reads and which receiver row it
// belongs to, and whether the interface can be opened. For checks on real hardware.
#include "ReceiverTable.h"
#include "platform/HidReportDescriptor.h"
#include "platform/linux/LinuxHidBackend.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <string_view>

using namespace platform;
namespace rx = qx::receivers;

namespace {

const char *ruleName(rx::InterfaceRule rule)
{
    switch (rule) {
    case rx::InterfaceRule::Fixed:
        return "fixed usage page and usage";
    case rx::InterfaceRule::AnyUsage:
        return "fixed usage page, any usage";
    case rx::InterfaceRule::ByVersion:
        return "chosen by the dongle version";
    case rx::InterfaceRule::EveryInterface:
        return "every interface";
    }
    return "?";
}

// The interface's place in the receiver row (the full decision, with product-name and
// version rules, is the transport's).
QString rowVerdict(const rx::ReceiverRow &row, const HidDeviceInfo &info)
{
    const quint32 p = info.primaryUsagePage;
    const quint32 u = info.primaryUsage;
    if (row.rule == rx::InterfaceRule::EveryInterface)
        return QStringLiteral("taken (every interface of this receiver is)");
    if (p == 0xFF0C)
        return QStringLiteral("voice interface");
    if (row.rule == rx::InterfaceRule::ByVersion)
        return (p == 0xFFEF || p == 0xFF91) ? QStringLiteral("command interface candidate (depends on version %1)")
                                                  .arg(info.versionNumber, 4, 16, QLatin1Char('0'))
                                            : QStringLiteral("not the command interface");
    const bool pageMatches = p == row.command.page;
    if (pageMatches && (row.rule == rx::InterfaceRule::AnyUsage || u == row.command.usage))
        return QStringLiteral("command interface");
    if (row.hasAlternative() && p == row.alternative.page && u == row.alternative.usage)
        return QStringLiteral("command interface (alternative)");
    if (p == 0xFFEF || p == 0xFF81 || p == 0xFF91)
        return QStringLiteral("command interface (vendor page taken for every receiver)");
    return QStringLiteral("not the command interface");
}

constexpr char kUsage[] = "usage: qx-hid-probe [--all]\n"
                          "Lists the HID interfaces of known receivers (every HID interface with --all) and\n"
                          "tries to open each. Exit status: 0 when every open worked, 1 when one failed,\n"
                          "2 for a bad option.\n";

} // namespace

int main(int argc, char **argv)
{
    bool all = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg != "--all") {
            std::fprintf(stderr, "qx-hid-probe: unknown option %s\n%s", argv[i], kUsage);
            return 2;
        }
        all = true;
    }
    QCoreApplication app(argc, argv);

    QList<HidMatch> matches;
    if (!all)
        for (const rx::ReceiverRow &row : rx::receiverTable())
            matches.append({row.vendorId, row.productId});

    linuxbackend::LinuxHidBackend backend;
    const QList<HidDeviceInfo> found = backend.enumerate(matches);
    if (found.isEmpty())
        std::printf("no %sHID interface found\n", all ? "" : "receiver ");

    bool openFailed = false;
    for (const HidDeviceInfo &info : found) {
        std::printf("%s\n", qPrintable(info.path));
        std::printf("  vendor:product  %04x:%04x\n", info.vendorId, info.productId);
        std::printf("  version         %04x\n", info.versionNumber);
        std::printf("  product         \"%s\"\n", info.product.toUtf8().constData());
        std::printf("  serial          \"%s\"\n", info.serialNumber.toUtf8().constData());
        std::printf("  primary usage   page 0x%04x usage 0x%04x\n", info.primaryUsagePage, info.primaryUsage);
        std::printf("  usb device      %s\n", qPrintable(info.usbDevice));

        const QString node = QFileInfo(info.path).fileName();
        QFile descriptor(QStringLiteral("/sys/class/hidraw/%1/device/report_descriptor").arg(node));
        if (descriptor.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = descriptor.readAll();
            const auto summary = parseHidReportDescriptor(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                                          std::size_t(bytes.size()));
            std::printf("  descriptor      %lld bytes, report ids %s%s\n", static_cast<long long>(bytes.size()),
                        summary.usesReportIds ? "yes" : "no", summary.malformed ? ", malformed" : "");
            for (const auto &u : summary.topLevel)
                std::printf("    collection    page 0x%04x usage 0x%04x\n", u.page, u.usage);
        }

        if (const rx::ReceiverRow *row = rx::findReceiver(info.vendorId, info.productId)) {
            std::printf("  receiver row    %d%s%s, command interface %s (page 0x%04x usage 0x%04x)\n", row->number,
                        row->logText ? " " : "", row->logText ? row->logText : "", ruleName(row->rule),
                        row->command.page, row->command.usage);
            std::printf("  decision        %s\n", qPrintable(rowVerdict(*row, info)));
        } else {
            std::printf("  receiver row    none\n");
        }

        const HidResult opened = backend.open(info.path);
        if (opened.ok()) {
            std::printf("  open            ok\n");
            backend.close(info.path);
        } else {
            openFailed = true;
            std::printf("  open            failed: %s%s\n", std::strerror(opened.sysErrno),
                        opened.error == HidError::AccessDenied ? " (install the udev rule, see the README)" : "");
        }
    }
    return openFailed ? 1 : 0;
}
