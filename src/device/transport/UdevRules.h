#pragma once

#include <string>

namespace qx::receivers {

// File name of the device-access rule; the number sorts it before udev's seat rules,
// which turn the uaccess tag into an ACL for the logged-in user.
inline constexpr const char kUdevRulesFileName[] = "70-quorvex-companion.rules";

// The udev rule text giving the logged-in user access to the hidraw nodes of every
// receiver in the table: one line per vendor/product pair.
std::string udevRulesText();

} // namespace qx::receivers
