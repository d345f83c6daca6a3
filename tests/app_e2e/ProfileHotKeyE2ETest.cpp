// The real application over a simulated voice-assistant receiver, with the maker's API
// on a local server: the receiver's device information makes the application fetch
// the device profile, whose "sno" lets F1 open the receiver's microphone.
#include "ReceiverNode.h"

#include "LocalHttpServer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using namespace receiver_node;

class Pgs1HotKeyE2E : public AppReceiverE2E {};

TEST_F(Pgs1HotKeyE2E, F1OpensTheMicrophoneOnceTheProfileNamedTheSerialNumber)
{
    Display *x = XOpenDisplay(nullptr);
    if (!x)
        GTEST_SKIP() << "no X display to type F1 on";
    LocalHttpServer api;
    api.setHandler([](const HttpRequestRecord &r) {
        if (r.path.endsWith("/getModelInfo"))
            return HttpScriptedReply::json(R"({"rc":0,"msg":"ok","data":{"sno":"HK1-SNO","appkey":"K1"}})");
        return HttpScriptedReply::html(404, "<p>not here</p>");
    });
    const int fd = addReceiver({0x3151, 0x20AB, 0xFF05, "HK1"});
    ASSERT_GE(fd, 0);
    QProcessEnvironment env;
    env.insert(QStringLiteral("QX_API_BASE"), api.baseUrl());
    AppProcess app(m_root.path(), env);
    app.unsetEnv(QStringLiteral("QT_QPA_PLATFORM")); // on the X display: global keys
    ASSERT_TRUE(app.start());
    // This process's event loop serves the profile while the application starts.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return app.output().contains("event loop running") && app.output().contains("handleModelInfoWithInfoData");
        },
        20000))
        << app.output().toStdString();

    const KeyCode f1 = XKeysymToKeycode(x, XK_F1);
    XTestFakeKeyEvent(x, f1, True, CurrentTime);
    XTestFakeKeyEvent(x, f1, False, CurrentTime);
    XSync(x, False);
    XCloseDisplay(x);
    DeviceSide device(fd);
    EXPECT_TRUE(device.waitForReport(report64("0da54d04624c"), 5000))
        << device.seen().join(' ').toStdString() << app.output().toStdString();
    EXPECT_EQ(app.count("hot key ignored"), 0) << app.output().toStdString();
    EXPECT_EQ(app.terminate(), 0) << app.output().toStdString();
}

} // namespace
