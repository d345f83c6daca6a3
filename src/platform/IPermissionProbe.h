#pragma once

#include <QString>

namespace platform {

// The three capabilities the application needs of the desktop, in the order the
// permissions window lists them.
enum class PermissionKind {
    Accessibility = 0,   // synthetic input into other applications (voice typing)
    InputMonitoring = 1, // the receivers' HID nodes and the global mouse monitor
    ScreenRecording = 2, // reading the screen for captures and their translation
};
inline constexpr int kPermissionKindCount = 3;

enum class PermissionState { Granted, Denied, Undetermined };

// What the user can do about a capability that is missing.
enum class PermissionRemedy {
    None,
    X11Session,       // no X11 display (native Wayland, or none at all)
    XTestExtension,   // the X server lacks XTEST
    XRecordExtension, // the X server lacks RECORD
    UdevRule,         // a receiver's node cannot be read and written: the udev rule is missing
    ScreenCapture,    // the X server refused to hand out the screen's contents
};

struct PermissionCheck {
    PermissionState state = PermissionState::Undetermined;
    PermissionRemedy remedy = PermissionRemedy::None;
    QString detail; // what was found, for the log and the tooltip (e.g. the node that failed)
};

// Answers whether the application has each capability now. Each call looks again
// (the user may have fixed something meanwhile).
class IPermissionProbe {
public:
    virtual ~IPermissionProbe() = default;
    virtual PermissionCheck check(PermissionKind kind) = 0;
    // Asks for input monitoring where the desktop can grant it on request.
    virtual void requestInputMonitoring() = 0;
};

} // namespace platform
