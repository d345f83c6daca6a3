#include "UdevRules.h"

#include "ReceiverTable.h"

#include <cstdio>

namespace qx::receivers {

std::string udevRulesText()
{
    std::string text = "# Quorvex Companion: access to the receivers' HID interfaces for the user at the seat.\n"
                       "# Generated at build time from the receiver table; do not edit.\n";
    for (const ReceiverRow &row : receiverTable()) {
        // sysfs spells the ids as four lower-case hex digits.
        char line[160];
        std::snprintf(
            line, sizeof line,
            "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%04x\", ATTRS{idProduct}==\"%04x\", TAG+=\"uaccess\"\n",
            unsigned(row.vendorId), unsigned(row.productId));
        text += line;
    }
    return text;
}

} // namespace qx::receivers
