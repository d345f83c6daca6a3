#pragma once

#include "Scheduler.h"
#include "services/DeviceSeams.h"

#include <QtGlobal>

namespace platform {
class ISystemVolume;
}

// Turns device key codes into press-type codes for the voice-key dispatcher, with the
// codes' side effects: the mode key flips the voice mode, pointer keys cycle the voice
// mode, drive the pointer overlay and repeat the system volume while held. The tables
// are in HidInfoFields; this class holds what the conversion remembers between keys
// (the last pointer code, the volume repeat). Both HID transports own one.
//
// Main thread only. Reads the device type and plan from the application state; the
// key flags, the dispatcher, the tips and the pointer overlay come in as seams.
class PressTypeConverter {
public:
    static constexpr int kVolumeIntervalMs = 200;
    static constexpr float kVolumeStep = 0.1f;

    struct Options {
        DeviceSeams seams;                         // empty members: stand-ins
        platform::ISystemVolume *volume = nullptr; // none: the installed service
        // Drop a pointer code equal to the last one before anything else happens. The
        // pointer sends a key-up (0) after every key, so the same code again is the
        // device re-sending its report while the key is held: taken as a new press it
        // would cycle the mode twice or stop the volume repeat it started.
        bool dropPointerRepeats = false;
    };

    PressTypeConverter() : PressTypeConverter(Options{}) {}
    explicit PressTypeConverter(const Options &options);
    ~PressTypeConverter(); // stops the volume repeat
    PressTypeConverter(const PressTypeConverter &) = delete;
    PressTypeConverter &operator=(const PressTypeConverter &) = delete;

    // pressType is the caller's last press type: while the typing or translation key
    // is held, the mode key changes nothing.
    int convertPressTypeWithNum(qint64 num, qint64 pressType);

    // Routines the report parsers share with the conversion.
    // The mode key: flips the typing key between typing and translation and shows the
    // new mode, unless a typing or translation input runs (pressType 33 or 37), which
    // would otherwise end in the other mode. Returns whether the mode changed.
    static bool toggleTranslateMode(const DeviceSeams &seams, int pressType);
    // The pointer's voice-mode key: ends any voice input, moves to the next voice mode
    // (typing, translation, screen projection, in turn) and shows it.
    static void nextPointerVoiceMode(const DeviceSeams &seams);
    // The pointer's voice key in a voice mode: typing (mode 1) or translation (2, 3)
    // down or up; 0 in any other mode.
    static int pointerVoicePressType(int vioceMode, bool down);

    // The volume repeat: every 0.2 s the output volume moves by 0.1 and a tip shows it.
    void startVolumeTime();
    void invalidateTimer();
    void changeSystemVolume();
    bool isVolumeRepeating() const { return m_volumeTimer != Scheduler::kNoTimer; }

    // The last pointer key code seen; 0 after a key-up report.
    qint64 tempNum() const { return m_tempNum; }
    void setTempNum(qint64 num) { m_tempNum = num; }
    bool isIncreaseSystemVolume() const { return m_isIncreaseSystemVolume; }

private:
    int convertPointer(qint64 num);

    Options m_options; // seams resolved
    bool m_isIncreaseSystemVolume = false;
    qint64 m_tempNum = 0;
    Scheduler::TimerId m_volumeTimer = Scheduler::kNoTimer;
    Scheduler *m_timerScheduler = nullptr;
};
