#pragma once

#include "QXUserInfoData.h"

#include <QStringList>

#include <optional>

// The DPI steps a mouse offers, by device family (chip plan, see FamilyTraits) and
// sensor chip type. Entries are labels: the DPI number followed by "dpi" ("800dpi").
namespace DpiTables {

// The built-in steps for the chip type in the DPI table of the chip plan; nullopt when
// the table has no row for it. The device profile's list, which some families prefer,
// is the caller's business.
std::optional<QStringList> stepsFor(qint64 chipPlan, qint64 chipType);

// What the application state needs to rebuild its DPI list: the built-in steps and
// whether the family prefers the profile's list. Installed into QXUserInfoData.
QXUserInfoData::DpiChoice choiceFor(qint64 chipPlan, qint64 chipType);

} // namespace DpiTables
