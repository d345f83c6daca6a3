// Against a real X server: a middle click made by another client reaches the
// classifier through the RECORD monitor; wheel steps never do.
#include "KeyWorld.h"
#include "XTestDriver.h"
#include "platform/linux/XRecordMouseMonitor.h"

#include <QTest>

#include <gtest/gtest.h>

TEST(KeyPressX11, MiddleClickIsOneSinglePressAndTheWheelNothing)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server; run under xvfb-run";
    platform::linuxbackend::XRecordMouseMonitor monitor;
    ASSERT_TRUE(monitor.isAvailable());
    KeyWorld w(&monitor);
    // A single press of the centre key gives Enter, a double a paste.
    w.setKeys(R"([{"key": "center_key", "childs": [
                    {"operation": "sk", "childs": [{"first": "1", "cmd": "Action_ENTER"}]},
                    {"operation": "dk", "childs": [{"first": "1", "cmd": "Action_paste"}]}]}])");
    w.keys->startCenterMouseMonitor();
    ASSERT_TRUE(QTest::qWaitFor([&] { return monitor.isRecording(); }, 5000));

    XTestDriver driver;
    driver.moveTo({30, 30});
    for (int wheel : {4, 5, 6, 7}) {
        driver.button(wheel, true);
        driver.button(wheel, false);
    }
    driver.button(2, true);
    driver.button(2, false);
    // Events arrive in order: a wheel step taken for a press would have made a double
    // (a paste) before the click's single came.
    QTRY_COMPARE_WITH_TIMEOUT(w.voice.pressTypes.size(), size_t(1), 5000);
    EXPECT_EQ(w.effects(), QStringList{"hidCallbackType(50)"});
}
