#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// What the HID transport hands to the layers above it: the HID command manager (frames,
// timers, voice decoding, the report parser), the command facade, the per-byte
// device-information reader and hot keys, the Bluetooth LE central and the global
// shortcuts. Those live in higher layers (or arrive later); the composition root fills
// the hooks. A hook left empty logs once and does nothing.
struct HidDeviceSinks {
    // HID command manager (QXHidCommandManager)
    std::function<void()> startTimer;
    std::function<void()> invalidateTimer;
    std::function<void(bool)> setIsStartVoice;
    std::function<void()> sendCloseMicData;
    std::function<void()> sendTelinkLaserPenOnlineData;
    // One report of the voice interface.
    std::function<void(const QByteArray &report)> handleVoiceData;
    // The report parser: recognises one report of the command interface and calls
    // complete with the event code it found (0x5A voice start, 0 idle, ...).
    std::function<void(const QByteArray &report, std::function<void(int code)> complete)> eventTypeConvertDataToHexStr;

    // Command facade (QXMouseCommandManager)
    std::function<void(bool)> setIsFromMicData;
    std::function<void()> sendGetMouseInfoData;
    std::function<void()> sendClosePopUpWebSiteData;

    // Device-information reader: one report of a receiver without key setting.
    std::function<void(const QByteArray &report)> readDeviceInfo;
    // Hot keys of the voice-assistant receivers.
    std::function<void()> registerHotKey;

    // Bluetooth LE central: a USB connection wins over Bluetooth LE.
    std::function<void()> cancelPeripheralConnection;

    // Global shortcuts: drops the binding stored under a preference key.
    std::function<void(const QString &defaultsKey)> breakBindingWithDefaultsKey;
};
