// Build step: writes the device-access udev rule generated from the receiver table.
#include "UdevRules.h"

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    constexpr char kUsage[] = "usage: qx_gen_udev_rules OUTPUT_FILE\n"
                              "Writes the udev rule that gives the seat's user access to the receivers.\n";
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    // An option is never taken for a file name.
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string text = qx::receivers::udevRulesText();
    std::FILE *out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (std::fclose(out) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
