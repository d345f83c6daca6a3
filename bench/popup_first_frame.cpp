// Time from the typing key's hidCallbackType(33) on the main thread to the speech
// pop-up's first frame on the X server: the voice-key dispatcher starts a recognition
// (a speech service that does nothing) and shows the pop-up, then the main loop runs
// until the window is exposed and its card's pixels read back from the server. 100
// presses, each cancelled before the next, which waits out the dispatcher's guard
// against presses in quick succession (about 1.5 s each). Run under an X server:
//   xvfb-run -a build-bench/bench/popup_first_frame [presses]
#include "InstalledInstance.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXLanguageManager.h"
#include "QXMouseCommandManager.h"
#include "QXUserInfoData.h"
#include "VoiceSeamStubs.h"
#include "asr/IAsrService.h"
#include "asr/QXAudioMonitorService.h"
#include "delivery/IVoiceCommandRunner.h"
#include "delivery/QXLocalTextPoster.h"
#include "delivery/QXResultDelivery.h"
#include "delivery/TextInsertionService.h"
#include "platform/PlatformServices.h"
#include "platform/linux/LinuxDesktopServices.h"
#include "platform/linux/X11Compositing.h"
#include "popup/QXPopupWindow.h"
#include "popup/QXPopupWindowTool.h"
#include "services/IAIWindow.h"
#include "services/IKeyPressManager.h"
#include "services/VoiceKeyState.h"
#include "translation/ISpeechTranslator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
using bench::NoAI;
using bench::NoAsr;
using bench::NoCommands;
using bench::NoKeys;
using bench::NoTranslation;

xcb_connection_t *connection()
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Whether the server holds the card's white at (x, y) of the window: a round trip on
// Qt's own connection, so every drawing request Qt sent before is done.
bool cardOnServer(QWidget &window, int x, int y)
{
    xcb_connection_t *c = connection();
    xcb_get_image_reply_t *reply = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, xcb_window_t(window.winId()), int16_t(x), int16_t(y), 1, 1, ~0u),
        nullptr);
    bool white = false;
    if (reply && xcb_get_image_data_length(reply) >= 3) {
        const uint8_t *p = xcb_get_image_data(reply);
        white = p[0] == 255 && p[1] == 255 && p[2] == 255;
    }
    std::free(reply);
    return white;
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5));
    return v[i];
}
} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir dataRoot;
    qputenv("QX_DATA_DIR", dataRoot.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (!connection()) {
        std::fprintf(stderr, "popup_first_frame: needs an X server (xvfb-run -a ...)\n");
        return 2;
    }
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;

    NotificationCenter notifications;
    ScopedInstall<NotificationCenter> installed(&notifications);
    platform::linuxbackend::LinuxDesktopServices desktop;
    const platform::PlatformServices &services = platform::services();
    MemoryKeyValueStore store;
    QXUserInfoData state(store);
    ScopedInstall<QXUserInfoData> installedState(&state); // the command managers read it
    state.setMouseIsConnect(true);                        // a receiver's mouse is there
    QXLanguageManager languages(store);
    QXHidCommandManager hid;
    QXBLEMouseCommandManager ble;
    QXMouseCommandManager facade(hid, ble);
    VoiceKeyState keys;
    QXPopupWindowTool::Deps deps;
    deps.state = &state;
    deps.keys = &keys;
    deps.translucent = platform::linuxbackend::windowsCanBeTranslucent();
    QXPopupWindowTool tool(deps);
    NoAsr asr;
    NoKeys keyPress;
    NoTranslation translator;
    NoCommands commands;
    NoAI ai;
    QXLocalTextPoster post(9);
    TextInsertionService text({*services.clipboard, *services.keyPoster, &state, &facade, nullptr, {}});
    QXResultDelivery delivery({state, languages, text, ai, commands, tool, post});
    QXAudioMonitorService voice(
        {state, keys, facade, *services.keyPoster, asr, tool, keyPress, translator, delivery});

    // The application has drawn text by the time a key goes down (its main window, its
    // menu); the fonts are loaded once for the process, not for the pop-up.
    {
        QImage scratch(64, 32, QImage::Format_ARGB32_Premultiplied);
        QPainter p(&scratch);
        p.setFont(QApplication::font());
        p.drawText(0, 20, QStringLiteral("请说话 Speak"));
    }

    std::vector<double> ms;
    for (int i = 0; i < presses; ++i) {
        QElapsedTimer t;
        t.start();
        voice.hidCallbackType(33);
        QXPopupWindow &popup = tool.popupWindow();
        while (!(popup.windowHandle() && popup.windowHandle()->isExposed() && cardOnServer(popup, 160, 30)))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);

        voice.cancelAsr(); // dismisses the pop-up
        while (popup.windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        // A start sooner after the last one is refused ("too fast"). The application
        // idles meanwhile, as between a user's presses.
        QEventLoop idle;
        QTimer::singleShot(std::max<qint64>(0, QXAudioMonitorService::kStartGuardMs + 50 - t.elapsed()), &idle,
                           &QEventLoop::quit);
        idle.exec();
    }
    const double first = ms.front();
    std::printf("popup first frame over %d presses (%s window): first %.2f ms (makes the window), "
                "p50 %.2f ms, p95 %.2f ms, max %.2f ms\n",
                presses, deps.translucent ? "translucent" : "opaque shaped", first, percentile(ms, 0.5),
                percentile(ms, 0.95), *std::max_element(ms.begin(), ms.end()));
    return 0;
}
