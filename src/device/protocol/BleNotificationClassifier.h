#pragma once

// What the Bluetooth LE mouse sends, read without acting on it: a value is a command
// frame (4d ... 4c) or, otherwise, a packet of voice. Frames carry an event code, a
// status byte and a payload; the pointer ("Pointer BT5.2", device type 5) puts its
// event code where the others put the status. The device-information payload, the
// receiver-source table and the key map live here too. Pure functions over the bytes.

#include "DeviceInfo.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

namespace proto {

inline constexpr uint8_t kBleFrameStart = 0x4d;
inline constexpr uint8_t kBleFrameEnd = 0x4c;
// The smallest frame with an event and a status byte.
inline constexpr qsizetype kBleMinFrameBytes = 4;
// Device-information payloads: the standard layout needs the fields up to the battery,
// the pointer's all sixteen bytes; the standard firmware version follows when present.
inline constexpr qsizetype kBleInfoPayloadBytes = 40;
inline constexpr qsizetype kBleInfoWithVersionBytes = 46;
inline constexpr qsizetype kBlePointerInfoPayloadBytes = 16;

enum class BleValueKind {
    Voice,      // anything that is not bracketed by 4d ... 4c (also the empty value)
    Frame,      // a frame with its event and status
    ShortFrame, // bracketed, but too short to hold an event and a status
};

struct BleNotification {
    BleValueKind kind = BleValueKind::Voice;
    uint8_t event = 0;
    uint8_t status = 0;
    // Bytes 3 up to the closing byte (views into the value).
    QByteArrayView payload;
    // Byte 3, the value of the one-byte replies (lighting, hand); absent when byte 3 is
    // already the closing byte.
    std::optional<uint8_t> value;
};

// `pointerLayout`: the connected device is the pointer (device type 5).
BleNotification classifyBleNotification(QByteArrayView value, bool pointerLayout);

// The firmware-transfer replies, which can only be genuine while a transfer runs.
constexpr bool isBleFirmwareEvent(uint8_t event)
{
    return event >= 0x70 && event <= 0x74;
}

// The same shape as the HID families' information (DeviceInfo); the mouse's own ids
// are always present.
using BleDeviceInfo = DeviceInfo;

// The payload of event 0x61 in the device's layout; nullopt when it is too short.
std::optional<BleDeviceInfo> readBleDeviceInfo(QByteArrayView payload, bool pointerLayout);

// Which region's receiver a mouse of the maker belongs to, by product id: 0 domestic,
// 1 international, 2 Asia-Pacific; nullopt for any other pair (see ReceiverTable.h).
std::optional<int> bleMouseSource(uint16_t vid, uint16_t pid);

// The key events. With key setting the event goes to the dispatcher as `keySettingCode`;
// without it, `action` says what the mouse's key does here.
enum class BleKeyAction {
    None,
    OpenMicSearch,  // microphone on, press type 35
    CloseMicSearch, // microphone off, press type 36
    Toggle,         // on or off by whether a voice input runs
    VoiceDown,      // microphone on, typing or translation by the mode
    VoiceUp,        // microphone off, typing or translation by the mode
    ModeSwitch,     // typing <-> translation
};

struct BleKeyRow {
    uint8_t event;
    int keySettingCode;
    BleKeyAction action;
};

// nullptr for an event that is not a key.
const BleKeyRow *bleKeyRow(uint8_t event);

} // namespace proto
