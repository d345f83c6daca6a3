// The permission probe against a real X server (Xvfb), and without one.
#include "platform/linux/X11PermissionProbe.h"
#include "XTestDriver.h"

#include <gtest/gtest.h>

using platform::PermissionKind;
using platform::PermissionRemedy;
using platform::PermissionState;
using platform::linuxbackend::X11PermissionProbe;

namespace {
// No receiver has these ids, so no node of this machine is looked at.
const QList<platform::HidMatch> kNoSuchReceiver{{0xFFFE, 0xFFFD}};
} // namespace

TEST(PermissionProbeX11, AnXServerGrantsKeySynthesisAndScreenReading)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server; run under xvfb-run";
    X11PermissionProbe probe(kNoSuchReceiver);
    EXPECT_EQ(probe.check(PermissionKind::Accessibility).state, PermissionState::Granted);
    EXPECT_EQ(probe.check(PermissionKind::ScreenRecording).state, PermissionState::Granted);
    // RECORD is there; with no receiver connected there is nothing more to tell.
    EXPECT_EQ(probe.check(PermissionKind::InputMonitoring).state, PermissionState::Undetermined);
}

TEST(PermissionProbeX11, WithoutADisplayEveryRowIsMissingForWantOfAnX11Session)
{
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("DISPLAY", ":9731");
    X11PermissionProbe probe(kNoSuchReceiver);
    for (const PermissionKind kind :
         {PermissionKind::Accessibility, PermissionKind::InputMonitoring, PermissionKind::ScreenRecording}) {
        const platform::PermissionCheck check = probe.check(kind);
        EXPECT_EQ(check.state, PermissionState::Denied) << int(kind);
        EXPECT_EQ(check.remedy, PermissionRemedy::X11Session) << int(kind);
    }
    qputenv("DISPLAY", display);
}
