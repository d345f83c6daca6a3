#pragma once

#include "HookStates.h"
#include "PressTypeConverter.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

class IHidInfoCommands;
namespace platform {
class ISystemVolume;
class ShortcutBinder;
} // namespace platform

// Reads the device-information reports of the receivers without key-setting support
// byte by byte into the device state, turns their key bytes into press types for the
// voice-key dispatcher, repeats the system volume for the pointer's volume keys, and
// binds the F1/F2/F3 hot keys of the voice-assistant receivers.
//
// The HID device owns one reader and forwards to it: every such report, the open
// receiver's ids, and the press-type resets at open and after a successful command.
// The key flags, the dispatcher and the pointer overlay come in as seams; the
// application state and the scheduler are looked up at each call. Main thread only.
class HidInfoReader {
public:
    struct Deps {
        DeviceSeams seams;                          // empty members: stand-ins
        IHidInfoCommands *commands = nullptr;       // none: the commands are logged and dropped
        platform::ISystemVolume *volume = nullptr;  // none: the installed service
        platform::ShortcutBinder *binder = nullptr; // none: the shared binder
    };
    explicit HidInfoReader(const Deps &deps);
    void listHooks(HookStates &out) const;
    ~HidInfoReader(); // stops the volume repeat and breaks the hot keys it bound
    HidInfoReader(const HidInfoReader &) = delete;
    HidInfoReader &operator=(const HidInfoReader &) = delete;

    // One report of the command interface (byte 0 is the report id), from the
    // receiver with the given ids. Fields beyond the report's length stay unread.
    void getDeivceInfoWithBuf(const QByteArray &report, quint16 vid, quint16 pid);

    // The fields of one report byte into the device state, without the key byte and,
    // on the plans other than 2, the mode byte (offsets 1 to 6; plan 2: 3 to 7, the
    // sensor id read at 6 from bytes 5 and 6). The hidapi transport reads through these.
    static void readPlanOtherField(int offset, quint8 byte);
    static void readPlanTwoField(int offset, const QByteArray &report);

    // The press type of a device key code (0: none), with the code's side effects:
    // mode switches and tips, pointer effects, the volume repeat.
    int convertPressTypeWithNum(qint64 num) { return m_converter.convertPressTypeWithNum(num, pressType()); }

    // The volume repeat: every 0.2 s the output volume moves by 0.1 and a tip shows it.
    void startVolumeTime() { m_converter.startVolumeTime(); }
    void invalidateTimer() { m_converter.invalidateTimer(); }
    void changeSystemVolume() { m_converter.changeSystemVolume(); }
    bool isVolumeRepeating() const { return m_converter.isVolumeRepeating(); }

    // For the voice-assistant receivers: device type and family, the default hot keys
    // F1/F2/F3 bound to their actions, the device announced. Others: nothing.
    void registerHotKey(quint16 vid, quint16 pid);
    // Breaks every hot-key binding a receiver can have (at its removal).
    void breakHotKeyBindings();

    // The last press type sent to the dispatcher (0: none).
    qint64 pressType() const;
    void setPressType(qint64 type);
    // The last pointer key code seen; 0 after a key-up report.
    qint64 tempNum() const { return m_converter.tempNum(); }
    bool isIncreaseSystemVolume() const { return m_converter.isIncreaseSystemVolume(); }

    // The hot-key actions, as the bindings run them.
    void wordShortcutPressed();
    void translateShortcutPressed();
    void searchShortcutPressed();

private:
    enum class Read { Continue, Stop };
    Read applyKeyRule(qint64 keyValue);
    void readPlanOther(int offset, quint8 byte);
    Read readPointerReceiver(int offset, quint8 byte);
    void firstInfoReceived();
    // Direct path of the hot keys on the plans that open the device's microphone
    // themselves; up/down are the press types of the key.
    void hotKeyDirect(int downType, int upType);
    void hotKeyConverted(qint64 downCode, qint64 upCode);
    bool hotKeyDeviceReady(const char *key) const;
    platform::ShortcutBinder &binder() const;

    Deps m_deps;
    PressTypeConverter m_converter;
    bool m_boundHotKeys = false;
};
