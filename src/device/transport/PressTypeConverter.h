#pragma once

#include "Scheduler.h"

#include <QtGlobal>

// Turns the key codes of a receiver's reports (and of the hot-key receivers' shortcuts)
// into press-type codes for the voice-key dispatcher. Pointer keys also switch the
// voice mode, drive the overlay and repeat the system volume while held.
//
// Main thread only. Reads the device type and plan from the application state and
// reaches the dispatcher, tips and pointer overlay through neighbours().
class PressTypeConverter {
public:
    static constexpr int kVolumeIntervalMs = 200;
    static constexpr float kVolumeStep = 0.1f;

    PressTypeConverter() = default;
    ~PressTypeConverter();
    PressTypeConverter(const PressTypeConverter &) = delete;
    PressTypeConverter &operator=(const PressTypeConverter &) = delete;

    // pressType is the caller's last press type: while the typing or translation key
    // is held, the mode key changes nothing.
    int convertPressTypeWithNum(qint64 num, int pressType);

    // What a converted code does to the caller's press type.
    enum class KeyRule {
        Ignore,     // nothing (0, a repeat of the held code)
        StopReport, // search key while typing or translation is held: ignored, and
                    // the rest of the report is not read
        Take,       // becomes the new press type and goes to the listener
    };
    static KeyRule keyRule(int converted, int pressType);

    // Routines the report parsers share with the conversion.
    // The mode key: flips the typing key between typing and translation and shows the
    // new mode, unless a typing or translation input runs (pressType 33 or 37), which
    // would otherwise end in the other mode. Returns whether the mode changed.
    static bool toggleTranslateMode(int pressType);
    // The pointer's voice-mode key: ends any voice input, moves to the next voice mode
    // (typing, translation, screen projection, in turn) and shows it.
    static void nextPointerVoiceMode();
    // The pointer's voice key in a voice mode: typing (mode 1) or translation (2, 3)
    // down or up; 0 in any other mode.
    static int pointerVoicePressType(int vioceMode, bool down);

    void startVolumeTime();
    void invalidateTimer();
    void changeSystemVolume();

    qint64 tempNum() const { return m_tempNum; }
    void setTempNum(qint64 num) { m_tempNum = num; }
    bool isIncreaseSystemVolume() const { return m_isIncreaseSystemVolume; }
    bool isVolumeRepeating() const { return m_volumeTimer != Scheduler::kNoTimer; }

private:
    int convertPointer(qint64 num);
    int convertOther(qint64 num, int pressType);

    bool m_isIncreaseSystemVolume = false;
    qint64 m_tempNum = 0;
    Scheduler::TimerId m_volumeTimer = Scheduler::kNoTimer;
};
