#pragma once

// Lengths of output reports and the first-byte filter of input reports. Pure
// functions, shared by the transport, its tests and the fuzz target.

#include <QByteArray>

#include <cstdint>

namespace qx::hid {

// Length of an output report in the frame layout of the device family (chip plan),
// for the connected device type; length33 marks receivers whose command interface
// takes 33-byte reports on plan 6.
int outputReportLength(std::int64_t chipPlan, std::uint64_t deviceType, bool length33);

// Commands starting 1B A5 are short: only their first five bytes are a report,
// whatever the family.
inline constexpr int kShortCommandLength = 5;
bool isShortCommand(const QByteArray &command);

// Whether a report of the command interface is one the application reads (by its
// first byte); empty reports are not.
bool isCommandInterfaceReport(const QByteArray &report);

} // namespace qx::hid
