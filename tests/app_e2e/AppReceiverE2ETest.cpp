// The real application over a simulated hidraw receiver (umockdev): the receiver
// appears, the application identifies and opens it and polls it in its family's
// layout, asks for its information, reads the answers into the device state (log and
// preference file) and runs the removal when it is unplugged.
#include "ReceiverNode.h"

#include "KeyValueStore.h"

#include <QDir>
#include <QFile>

namespace {

using namespace receiver_node;

TEST_F(AppReceiverE2E, ReceiverIsOpenedPolledReadIntoTheStateAndRemoved)
{
    AppProcess app(m_root.path());
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.waitFor("event loop running")) << app.output().toStdString();

    // Plugged in while the application runs.
    const int fd = addReceiver();
    ASSERT_GE(fd, 0);
    umockdev_testbed_uevent(m_bed, kHidraw, "add");
    ASSERT_TRUE(app.waitForUserLog(m_root.path(), "接收器插入")) << app.output().toStdString();
    DeviceSide device(fd);

    // The family's connection poll (every 3 s) asks whether the mouse is there.
    const QByteArray poll = report64("0da54d04694c");
    ASSERT_TRUE(device.waitForReport(poll, 8000)) << device.seen().join(' ').toStdString();
    // The mouse is there (status 0) ...
    ASSERT_TRUE(device.answer(report64("0d5a4d690000")));
    // ... so the application asks for its information.
    ASSERT_TRUE(device.waitForReport(report64("0da54d04614c"), 5000)) << device.seen().join(' ').toStdString()
                                                                        << app.output().toStdString();

    // Serial number (30 bytes), ids, LED, microphone, sensor, DPI, model, battery, firmware.
    QByteArray info = QByteArray::fromHex("0d5a4d6100");
    QByteArray sn("QXE2E0001");
    sn.append(QByteArray(30 - sn.size(), '\0'));
    info += sn;
    info += QByteArray::fromHex("ab22" "5131" "01" "00" "01" "02" "05" "4d"); // battery 0x4d = 77
    info += QByteArray("V1.2.3");
    info.append(QByteArray(64 - info.size(), '\0'));
    ASSERT_TRUE(device.answer(info));
    ASSERT_TRUE(app.waitFor("sn: QXE2E0001 battery: 77 firmware: V1.2.3")) << app.output().toStdString();

    // Unplugged: the removal runs (user log) and the application keeps running.
    umockdev_testbed_uevent(m_bed, kHidraw, "remove");
    umockdev_testbed_remove_device(m_bed, kHidraw);
    ASSERT_TRUE(app.waitForUserLog(m_root.path(), "接收器拔出", 10000)) << app.output().toStdString();
    EXPECT_TRUE(app.running());

    EXPECT_EQ(app.terminate(), 0) << app.output().toStdString();
    const QByteArray log = AppProcess::userLog(m_root.path());
    EXPECT_TRUE(log.contains("接收器插入")) << log.toStdString();
    EXPECT_TRUE(log.contains("接收器拔出")) << log.toStdString();
    IniKeyValueStore prefs(m_root.filePath("preferences.ini"));
    EXPECT_EQ(prefs.stringValue("QX_Quorvex_Sn_Key"), "QXE2E0001");
    EXPECT_EQ(prefs.stringValue("QXFirmwareVersionKey"), "V1.2.3");
    EXPECT_EQ(prefs.intValue("QX_Quorvex_PowerPercent_Key"), 77);
}

// Plugged in before the launch: taken up, and never reported missing.
TEST_F(AppReceiverE2E, AReceiverPresentAtLaunchIsTakenUpAndNotReportedMissing)
{
    ASSERT_GE(addReceiver(), 0);
    AppProcess app(m_root.path());
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.waitForUserLog(m_root.path(), "接收器插入")) << app.output().toStdString();
    ASSERT_TRUE(app.waitFor("event loop running")) << app.output().toStdString();
    EXPECT_EQ(app.count("no receiver connected"), 0) << app.output().toStdString();
    EXPECT_EQ(app.terminate(), 0) << app.output().toStdString();
}

} // namespace
