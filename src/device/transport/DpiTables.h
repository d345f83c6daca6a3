#pragma once

#include "QXUserInfoData.h"

#include <QStringList>

#include <array>
#include <optional>

// Every DPI table of the devices, in one place: the steps a mouse offers by device
// family (chip plan) and sensor chip type, and the device's own units of sensor chip
// type 1. Entries of a step list are labels: the DPI number followed by "dpi" ("800dpi").
namespace DpiTables {

// One row of a family's table: the sensor chip types it serves and their steps. Unused
// slots are 0.
struct DpiRow {
    std::array<int, 6> chipTypes;
    std::array<int, 7> steps;
};

// The built-in steps for the chip type in the DPI table of the chip plan; nullopt when
// the table has no row for it. Plans 6 and 7 share a table, plan 4 has its own, every
// other plan (unknown and negative ones too) the common one.
std::optional<QStringList> stepsFor(qint64 chipPlan, qint64 chipType);

// Whether a DPI list from the device profile replaces the built-in steps (plans 6 and 7).
bool prefersProfileList(qint64 chipPlan);

// What the application state needs to rebuild its DPI list: the built-in steps and
// whether the family prefers the profile's list. Installed into QXUserInfoData.
QXUserInfoData::DpiChoice choiceFor(qint64 chipPlan, qint64 chipType);

// Sensor chip type 1 counts DPI in its own units: positions 0 to 4 of the list are the
// bytes 32, 42, 48, 54 and 63.
inline constexpr std::array<int, 5> kChip1Units{32, 42, 48, 54, 63};

// The byte a device that takes raw values is sent for list position `index`: chip 1's
// unit for positions 0 to 4; anything else (other chips, other positions) the position
// itself.
qint64 rawFromIndex(quint64 icType, qint64 index);

// The list position a device's DPI byte stands for. On chip 1 a unit reads as its
// position; a byte that is no unit reads as the position it names when it is one (0 to
// 4) and as position 0 otherwise, so the position never lies outside the list. Other
// chips report the position itself.
qint64 indexFromRaw(quint64 icType, int raw);

} // namespace DpiTables
