#include "HidReportRules.h"

namespace qx::hid {

int outputReportLength(std::int64_t chipPlan, std::uint64_t deviceType, bool length33)
{
    // Telink pointer receivers take 8-byte reports in every layout.
    if (deviceType == 5)
        return 8;
    switch (chipPlan) {
    case 1:
        return 16;
    case 2:
        return 64;
    case 3:
        return 24;
    case 4:
        return 21;
    case 6:
        return deviceType == 2 || length33 ? 33 : 21;
    case 7:
        return 21;
    default:
        return 64;
    }
}

bool isShortCommand(const QByteArray &command)
{
    return command.size() >= 2 && quint8(command[0]) == 0x1B && quint8(command[1]) == 0xA5;
}

bool isCommandInterfaceReport(const QByteArray &report)
{
    if (report.isEmpty())
        return false;
    switch (quint8(report[0])) {
    case 0x0D:
    case 0x0F:
    case 0x4D:
    case 0x0C:
    case 0x1B:
    case 0xA5:
    case 0xA6:
    case 0x1C:
        return true;
    default:
        return false;
    }
}

} // namespace qx::hid
