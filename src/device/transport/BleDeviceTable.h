#pragma once

#include "platform/IBleCentral.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The maker's Bluetooth LE peripherals: the names they advertise, the GATT layout each
// one offers and the texts of the adapter states. Pure data and lookups, no state.
namespace ble {

inline constexpr const char kMouseName[] = "Quorvex Mouse";
inline constexpr const char kKeyboardName[] = "Quorvex KeyBoard";
inline constexpr const char kPointerName[] = "Pointer BT5.2";

inline constexpr const char kMouseServiceUuid[] = "A8253F01-0C51-4000-B84F-1500068FB5A3";
inline constexpr const char kPointerServiceUuid[] = "A1520001-5A21-4F05-BC7D-AF01F617B664";

// The characteristic roles, in the order a characteristic is tried against them.
enum class BleRole { Read, Notify, Write, OtaWrite, OtaNotify };
inline constexpr int kRoleCount = 5;

struct BleServiceSet {
    const char *serviceUuid;
    std::array<const char *, kRoleCount> roleUuids; // indexed by BleRole
    int neededCharacteristics; // roles that must be found in one service before the device counts as connected
    int deviceType;            // the device type recorded for this peripheral
    bool voiceFromDevice;      // the peripheral streams its own microphone
};

// The service set of a peripheral, chosen by its name.
const BleServiceSet &serviceSetForName(const QString &peripheralName);

// The two primary services by which the system's connected peripherals are looked up.
QStringList primaryServiceUuids();

// Whether an advertised name is one of the maker's peripherals: any part of the three
// names joined by commas matches, so a shortened advertised name ("Quorvex Mo",
// "Mouse") still finds the device. An empty name matches nothing.
bool matchesDeviceName(const QString &advertisedName);

// The text kept for an adapter state value (unknown values have their own text).
QString adapterStateText(int state);
inline QString adapterStateText(platform::BleAdapterState state)
{
    return adapterStateText(int(state));
}

} // namespace ble
