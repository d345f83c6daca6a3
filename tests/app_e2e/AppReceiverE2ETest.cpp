// The real application over a simulated hidraw receiver (umockdev): the receiver
// appears, the application identifies and opens it and polls it in its family's
// layout, asks for its information, reads the answers into the device state (log and
// preference file) and runs the removal when it is unplugged.
#include "ReceiverNode.h"

#include "KeyValueStore.h"

#include <QDir>
#include <QFile>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

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
    ASSERT_TRUE(device.waitForReport(report64("0da54d04614c"), 5000))
        << device.seen().join(' ').toStdString() << app.output().toStdString();

    // Serial number (30 bytes), ids, LED, microphone, sensor, DPI, model, battery, firmware.
    QByteArray info = QByteArray::fromHex("0d5a4d6100");
    QByteArray sn("QXE2E0001");
    sn.append(QByteArray(30 - sn.size(), '\0'));
    info += sn;
    info += QByteArray::fromHex("ab22"
                                "5131"
                                "01"
                                "00"
                                "01"
                                "02"
                                "05"
                                "4d"); // battery 0x4d = 77
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

// A voice-assistant receiver (0x3151/0x20AB) switches to plan 2 and takes F1, typed
// on the X display: its direct path runs, and waits for the serial number the device
// profile gives (no profile server answers here) before it opens the microphone.
TEST_F(AppReceiverE2E, HotKeyReceiverTakesItsKeys)
{
    Display *x = XOpenDisplay(nullptr);
    if (!x)
        GTEST_SKIP() << "no X display to type F1 on";
    ASSERT_GE(addReceiver({0x3151, 0x20AB, 0xFF05, "HK1"}), 0);
    AppProcess app(m_root.path());
    app.unsetEnv(QStringLiteral("QT_QPA_PLATFORM")); // on the X display: global keys
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.waitForUserLog(m_root.path(), "语音助手接收器")) << app.output().toStdString();
    ASSERT_TRUE(app.waitFor("event loop running")) << app.output().toStdString();
    const KeyCode f1 = XKeysymToKeycode(x, XK_F1);
    XTestFakeKeyEvent(x, f1, True, CurrentTime);
    XTestFakeKeyEvent(x, f1, False, CurrentTime);
    XSync(x, False);
    XCloseDisplay(x);
    EXPECT_TRUE(app.waitFor("hot key ignored: the receiver has no serial number yet", 5000))
        << app.output().toStdString();
    EXPECT_EQ(app.terminate(), 0) << app.output().toStdString();
}

// A plan-1 receiver whose mouse has the fixed sensor: its first information report
// makes the application correct the DPI, which this family receives as a zero report
// (with hidraw's extra leading 0x00). Plan-1 receivers keep the key-setting flag as
// they find it, and the key actions switch it on at launch; only a removal clears it,
// so the receiver is plugged in twice before its reports reach the per-byte reader.
TEST_F(AppReceiverE2E, FixedSensorMouseGetsItsDpiCorrected)
{
    const Receiver plain{0x25BA, 0x24AB, 0xFF05, "X2020050100008Y"};
    AppProcess app(m_root.path());
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.waitFor("event loop running")) << app.output().toStdString();
    const int fd = addReceiver(plain);
    ASSERT_GE(fd, 0);
    const struct {
        const char *action;
        const char *line;
        int times; // how often the user log holds the line afterwards
    } steps[] = {{"add", "国内版接收器", 1}, {"remove", "接收器拔出", 1}, {"add", "国内版接收器", 2}};
    for (const auto &step : steps) {
        umockdev_testbed_uevent(m_bed, plain.hidraw().constData(), step.action);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return AppProcess::userLog(m_root.path()).count(step.line) >= step.times; }, 10000))
            << step.action << AppProcess::userLog(m_root.path()).toStdString();
    }
    DeviceSide device(fd);
    device.drain(2000); // what the open asks for
    // Nothing else goes to this family once it is open: a report now is the correction.
    ASSERT_TRUE(device.answer(QByteArray::fromHex("0d0164012104010002").leftJustified(64, '\0')));
    EXPECT_TRUE(device.waitForReport(QByteArray(17, '\0'), 5000)) << device.seen().join(' ').toStdString();
    EXPECT_EQ(app.terminate(), 0) << app.output().toStdString();
    IniKeyValueStore prefs(m_root.filePath("preferences.ini"));
    EXPECT_EQ(prefs.intValue("QX_Quorvex_IcType_Key"), 5); // the fixed sensor's DPI list
}

// A plan-7 receiver (0x248A/0x67AC): replies are acknowledged, and the voice reports'
// sampling flag reaches the application state in both directions.
TEST_F(AppReceiverE2E, Plan7ReceiverVoiceSetsTheSamplingFlag)
{
    const Receiver plan7{0x248A, 0x67AC, 0xFFBB, "P7"};
    const int fd = addReceiver(plan7);
    ASSERT_GE(fd, 0);
    AppProcess app(m_root.path());
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.waitForUserLog(m_root.path(), "AB接收器")) << app.output().toStdString();
    DeviceSide device(fd);
    ASSERT_TRUE(device.answer(report64("a6034d6200"))); // voice start, acknowledged
    EXPECT_TRUE(device.waitForReport(QByteArray::fromHex("a6034d104c"), 5000)) << device.seen().join(' ').toStdString();
    ASSERT_TRUE(device.answer(report64("a5000080"
                                       "1003e8")));
    EXPECT_TRUE(app.waitFor("device voice sampling flag: 16 kHz", 5000)) << app.output().toStdString();
    ASSERT_TRUE(device.answer(report64("a5000000"
                                       "1003e8")));
    EXPECT_TRUE(app.waitFor("device voice sampling flag: 8 kHz", 5000)) << app.output().toStdString();
    EXPECT_EQ(app.terminate(), 0) << app.output().toStdString();
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

namespace {

using namespace receiver_node;

// The rig hands the application one report a read only while it sees what is still
// unread on the node: a report written stays counted until the application's side has
// read it, whatever library sits between the test and the node.
class AuditReceiverNode : public AppReceiverE2E {};

TEST_F(AuditReceiverNode, AReportWrittenCountsAsUnreadUntilTheApplicationSideReadsIt)
{
    const int device = addReceiver();
    ASSERT_GE(device, 0);
    const int appSide = openAppSide(device);
    ASSERT_GE(appSide, 0);
    // The application opens the node by its name, as the preload hands it out.
    const int app = ::open("/dev/hidraw0", O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(app, 0);
    EXPECT_EQ(unreadOnNode(appSide), 0);
    const QByteArray report = report64("0d5a4d690000");
    ASSERT_EQ(::write(device, report.constData(), size_t(report.size())), report.size());
    EXPECT_EQ(unreadOnNode(appSide), 64);
    char buf[256];
    EXPECT_EQ(::read(app, buf, sizeof buf), 64);
    EXPECT_EQ(unreadOnNode(appSide), 0);
    ::close(app);
    ::close(appSide);
}

} // namespace
