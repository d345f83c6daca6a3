#include "platform/linux/LibHidapiShim.h"

#include <gtest/gtest.h>

// Against the real library: init and enumeration work on any machine (a build host
// usually has no maker's receiver, so the list may be empty), and opening a path that
// does not exist fails cleanly.
TEST(LibHidapiShim, InitEnumerateAndFailedOpen)
{
    platform::LibHidapiShim shim;
    ASSERT_EQ(shim.init(), 0);
    for (const platform::HidapiDeviceInfo &d : shim.enumerate(0x3151, 0))
        EXPECT_EQ(d.vendorId, 0x3151);
    EXPECT_EQ(shim.openPath("/dev/hidraw-does-not-exist"), nullptr);
    EXPECT_EQ(shim.exit(), 0);
}
