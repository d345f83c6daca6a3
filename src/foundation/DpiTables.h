#pragma once

#include <QStringList>

#include <optional>

// The DPI steps a mouse offers, by device family (chip plan) and sensor chip type.
// Entries are labels: the DPI number followed by "dpi" ("800dpi").
namespace DpiTables {

// The built-in steps for the chip type under the table of the chip plan (plans 6 and
// 7, plan 4, every other plan); nullopt when the table has no row for it. The device
// profile's list, which plans 6 and 7 prefer, is the caller's business.
std::optional<QStringList> stepsFor(qint64 chipPlan, qint64 chipType);

// The list shown before any device was seen.
QStringList defaultSteps();

} // namespace DpiTables
