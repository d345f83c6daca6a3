#pragma once

#include "platform/IHidBackend.h"
#include "platform/IPermissionProbe.h"

#include <QList>

namespace platform::linuxbackend {

// What X11 and the device nodes allow, asked afresh at each check over a connection
// of its own that is closed again (checks are rare: launch and the permissions
// window's activation):
//  - accessibility: the X server has XTEST (key and text synthesis);
//  - input monitoring: the X server has RECORD (the global mouse monitor) and every
//    connected receiver's hidraw node can be read and written; with no receiver
//    connected there is nothing to tell, so the answer is undetermined;
//  - screen recording: the X server hands out a pixel of the root window.
// Without an X11 display (native Wayland, or none) all three are denied.
class X11PermissionProbe final : public IPermissionProbe {
public:
    // The vendor/product pairs of the receivers whose nodes input monitoring needs.
    explicit X11PermissionProbe(QList<HidMatch> receivers);

    PermissionCheck check(PermissionKind kind) override;
    // Linux grants nothing on request; logs that once.
    void requestInputMonitoring() override;

    // The receivers' hidraw nodes present now, and the first that this process
    // cannot read and write.
    static PermissionCheck receiverNodeAccess(const QList<HidMatch> &receivers);

private:
    QList<HidMatch> m_receivers;
};

} // namespace platform::linuxbackend
