#pragma once

#include <QtGlobal>

// The key and voice flags that the device layers and the voice pipeline share. The
// composition root owns one and hands it to both sides; neither side owns the flags
// of the other, so the device layers only send events upward (IVoiceKeyDispatcher)
// and read or write the flags here; each flag has this one holder. Main thread only.
class VoiceKeyState {
public:
    // A voice input runs, from its start until its final result has been handled.
    // Written by the voice-key dispatcher; the HID and Bluetooth LE parsers clear it
    // when the device streams voice while no input expects it. The parsers read it to
    // choose between opening and closing the device microphone.
    bool hadStart() const { return m_hadStart; }
    void setHadStart(bool on) { m_hadStart = on; }

    // While set, the typing voice key acts as the translation key (37/38 for 33/34).
    // Flipped by the mode key: the key conversion of both HID transports, the HID and
    // Bluetooth LE parsers, and the key-action handler.
    bool isTranslate() const { return m_isTranslate; }
    void setIsTranslate(bool on) { m_isTranslate = on; }

    // The press type of the voice input in progress (33 to 38), 0 when none. Written
    // by the dispatcher; the parsers' mode toggle does nothing while it is 33 or 37.
    int pressType() const { return m_pressType; }
    void setPressType(int type) { m_pressType = type; }

    // The press type the device's next voice start or end reports to the dispatcher
    // (the key that asked the device to open or close its microphone). Written by the
    // HID and Bluetooth LE parsers through their command managers; the dispatcher
    // clears it with its own press type.
    qint64 devicePressType() const { return m_devicePressType; }
    void setDevicePressType(qint64 type) { m_devicePressType = type; }

    // The last key the device-information reader of a receiver without key setting
    // passed on; its repeat rule compares each key against it. Cleared by the HID
    // transport when the receiver opens, after every command it sent, and by the key
    // reset.
    qint64 readerPressType() const { return m_readerPressType; }
    void setReaderPressType(qint64 type) { m_readerPressType = type; }

    // The device streams voice, from its voice start (or the open-microphone command)
    // to its voice end or the close-microphone command. Written by the HID and
    // Bluetooth LE command managers and parsers; read by them, the dispatcher and the
    // speech service.
    bool isStartVoice() const { return m_isStartVoice; }
    void setIsStartVoice(bool on) { m_isStartVoice = on; }

    // The device's keys were reset. The HID key-reset command clears it after
    // sending; the hidapi transport reads and clears it.
    bool isResetKey() const { return m_isResetKey; }
    void setIsResetKey(bool on) { m_isResetKey = on; }

    // The presentation pointer's voice mode: 1 typing, 2 translation, 3 screen
    // projection. Set to 1 when the receiver goes (HID transport), cycled by the
    // pointer's voice-mode key (key conversion, parsers); read by the pointer's voice
    // key and the pointer overlay.
    int vioceMode() const { return m_vioceMode; }
    void setVioceMode(int mode) { m_vioceMode = mode; }

    // The keyboard voice key whose voice input is open: 0 none, 33, 35 or 37. Read and
    // written by the HID parser's keyboard toggles, the key-action handler, the AI
    // window's voice keys and the speech pop-up when it is dismissed.
    int lastPressType() const { return m_lastPressType; }
    void setLastPressType(int type) { m_lastPressType = type; }

private:
    bool m_hadStart = false;
    bool m_isTranslate = false;
    int m_pressType = 0;
    qint64 m_devicePressType = 0;
    qint64 m_readerPressType = 0;
    bool m_isStartVoice = false;
    bool m_isResetKey = false;
    int m_vioceMode = 1;
    int m_lastPressType = 0;
};
