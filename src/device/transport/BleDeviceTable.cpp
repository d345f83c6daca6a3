#include "BleDeviceTable.h"

namespace ble {

namespace {

constexpr BleServiceSet kPointerSet{kPointerServiceUuid,
                                    {"A1520003-5A21-4F05-BC7D-AF01F617B664",  // read
                                     "A8253F02-0C51-4000-B84F-1500068FB5A3",  // notify
                                     "A1520002-5A21-4F05-BC7D-AF01F617B664",  // write
                                     "A8253F06-0C51-4000-B84F-1500068FB5A3",  // firmware write
                                     "A8253F05-0C51-4000-B84F-1500068FB5A3"}, // firmware notify
                                    2,
                                    5,
                                    true};

constexpr BleServiceSet kMouseSet{kMouseServiceUuid,
                                  {"A8253F03-0C51-4000-B84F-1500068FB5A3", "A8253F02-0C51-4000-B84F-1500068FB5A3",
                                   "A8253F04-0C51-4000-B84F-1500068FB5A3", "A8253F06-0C51-4000-B84F-1500068FB5A3",
                                   "A8253F05-0C51-4000-B84F-1500068FB5A3"},
                                  5,
                                  0,
                                  false};

struct StateText {
    int state;
    const char *text;
};
constexpr StateText kStateTexts[] = {
    {0, "未知蓝牙状态"},   {1, "蓝牙重置"},   {2, "该设备不支持蓝牙"},
    {3, "未授权蓝牙权限"}, {4, "蓝牙已关闭"}, {5, "蓝牙已打开"},
};

} // namespace

const BleServiceSet &serviceSetForName(const QString &peripheralName)
{
    return peripheralName == QLatin1String(kPointerName) ? kPointerSet : kMouseSet;
}

QStringList primaryServiceUuids()
{
    return {QString::fromLatin1(kMouseServiceUuid), QString::fromLatin1(kPointerServiceUuid)};
}

bool matchesDeviceName(const QString &advertisedName)
{
    static const QString joined =
        QStringLiteral("%1,%2,%3")
            .arg(QLatin1String(kMouseName), QLatin1String(kKeyboardName), QLatin1String(kPointerName));
    return !advertisedName.isEmpty() && joined.contains(advertisedName);
}

QString adapterStateText(int state)
{
    for (const StateText &row : kStateTexts)
        if (row.state == state)
            return QString::fromUtf8(row.text);
    return QStringLiteral("未知的蓝牙错误");
}

} // namespace ble
