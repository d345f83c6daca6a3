#pragma once

#include "Scheduler.h"

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
// Main thread only. Reads the device type and plan from the application state and
// reaches the dispatcher, tips and pointer overlay through neighbours() at each call.
class PressTypeConverter {
public:
    static constexpr int kVolumeIntervalMs = 200;
    static constexpr float kVolumeStep = 0.1f;

    struct Options {
        platform::ISystemVolume *volume = nullptr; // none: the installed service
        // Drop a pointer code equal to the last one before anything else happens. The
        // pointer sends a key-up (0) after every key, so the same code again is the
        // device re-sending its report while the key is held: taken as a new press it
        // would cycle the mode twice or stop the volume repeat it started.
        bool dropPointerRepeats = false;
    };

    PressTypeConverter() = default;
    explicit PressTypeConverter(const Options &options) : m_options(options) {}
    ~PressTypeConverter(); // stops the volume repeat
    PressTypeConverter(const PressTypeConverter &) = delete;
    PressTypeConverter &operator=(const PressTypeConverter &) = delete;

    // pressType is the caller's last press type: while the typing or translation key
    // is held, the mode key changes nothing.
    int convertPressTypeWithNum(qint64 num, qint64 pressType);

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
    void cycleVoiceMode();

    Options m_options;
    bool m_isIncreaseSystemVolume = false;
    qint64 m_tempNum = 0;
    Scheduler::TimerId m_volumeTimer = Scheduler::kNoTimer;
    Scheduler *m_timerScheduler = nullptr;
};
