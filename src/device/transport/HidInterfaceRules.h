#pragma once

// Which HID interface of a receiver carries commands and which carries voice, decided
// from what the system tells about the interface. Pure functions over plain values, so
// tests and the fuzz target call them directly.

#include <QString>

#include <cstdint>

namespace qx::hid {

// The receiver's firmware version as the application shows and compares it: the
// release number's upper-case hex digits, padded to three, with a dot after the first
// (0x300 -> "3.00", 0x21 -> "0.21", 0x1234 -> "1.234", 0x4A0 -> "4.A0").
QString dongleVersionText(std::uint32_t versionNumber);

// What the arrival of one interface expects as the receiver's command interface.
struct ExpectedInterface {
    std::uint32_t page = 0xFF05;
    std::uint32_t usage = 0;
    bool acceptEvery = false; // every interface of the receiver is taken
    bool length33 = false;    // its command interface takes 33-byte output reports
    bool fromMicData = false; // the receiver is a microphone: voice comes from the device
};

ExpectedInterface expectedCommandInterface(std::uint16_t vendorId, std::uint16_t productId, const QString &product,
                                           const QString &dongleVersion);

enum class InterfaceRole { Ignored, Command, Voice };

// The page of a receiver's voice interface.
inline constexpr std::uint32_t kVoiceUsagePage = 0xFF0C;

// The role of an interface with the given primary usage page and usage.
InterfaceRole decideInterface(const ExpectedInterface &expected, std::uint32_t page, std::uint32_t usage,
                              std::uint16_t vendorId, std::uint16_t productId);

} // namespace qx::hid
