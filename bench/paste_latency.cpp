// Time from a recognition's last result to its text in another application's focused
// field, through the dispatcher, the real clipboard and XTest: p50 and p95 over 50
// pastes of 20 and of 500 characters. Run under an X server:
//   xvfb-run -a build-bench/bench/paste_latency
#include "InstalledInstance.h"
#include "KeyValueStore.h"
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
#include "popup/ISpeechPopup.h"
#include "services/IAIWindow.h"
#include "services/IKeyPressManager.h"
#include "services/VoiceKeyState.h"
#include "translation/ISpeechTranslator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cstdio>

namespace {

struct ShownPopup : ISpeechPopup {
    bool shown = true, last = false;
    void showSpeechView(const QString &, qint64) override { shown = true; }
    void showYiText(const QString &) override {}
    void dismissSpeechView() override { shown = false; }
    void showTipMessage(const QString &, const QString &) override {}
    bool isShow() const override { return shown; }
    bool isLast() const override { return last; }
    void setIsLast(bool on) override { last = on; }
};
using bench::NoAI;
using bench::NoAsr;
using bench::NoCommands;
using bench::NoKeys;
using bench::NoTranslation;

// The other application's field, as it reports itself (see PasteTarget.cpp).
struct Target {
    QProcess process;
    QByteArray pending;
    QString text;
    QList<QByteArray> ready;

    bool waitFor(const std::function<bool()> &done)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > 10000)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            pending += process.readAllStandardOutput();
            for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
                const QByteArray line = pending.left(end);
                if (line.startsWith("text "))
                    text = QString::fromUtf8(QByteArray::fromBase64(line.mid(5)));
                else if (line.startsWith("ready "))
                    ready = line.split(' ');
            }
        }
        return true;
    }
};

QString textOf(int count)
{
    const QString sample = QStringLiteral("语音输入 voice typing “测试” 🙂 ");
    QString text;
    while (text.size() < count)
        text += sample;
    return text.left(count);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    platform::linuxbackend::LinuxDesktopServices desktop;
    const platform::PlatformServices &services = platform::services();
    if (!services.keyPoster->isAvailable()) {
        std::fprintf(stderr, "no X server with XTest: run under xvfb-run\n");
        return 1;
    }
    Target target;
    target.process.start(QStringLiteral(QX_PASTE_TARGET), {QStringLiteral("plain")});
    if (!target.waitFor([&] { return target.ready.size() == 5; }))
        return 1;
    Display *display = XOpenDisplay(nullptr);
    XTestFakeMotionEvent(display, -1, target.ready[1].toInt() + 50, target.ready[2].toInt() + 50, 0);
    XFlush(display);

    MemoryKeyValueStore store;
    QXUserInfoData state(store);
    ScopedInstall<QXUserInfoData> installedState(&state); // the command managers read it
    state.setCompatibleModeSwitch(false);
    QXLanguageManager languages(store);
    QXHidCommandManager hid;
    QXBLEMouseCommandManager ble;
    QXMouseCommandManager facade(hid, ble);
    VoiceKeyState keys;
    NoAsr asr;
    ShownPopup popup;
    NoKeys keyPress;
    NoTranslation translator;
    NoCommands commands;
    NoAI ai;
    QXLocalTextPoster post(9); // nothing listens there: the post costs what it costs
    TextInsertionService text({*services.clipboard, *services.keyPoster, &state, &facade, nullptr, {}});
    QXResultDelivery delivery({state, languages, text, ai, commands, popup, post});
    QXAudioMonitorService voice(
        {state, keys, facade, *services.keyPoster, asr, popup, keyPress, translator, delivery});

    for (int length : {20, 500}) {
        const QString text = textOf(length);
        std::vector<double> ms;
        for (int run = 0; run < 50; ++run) {
            target.process.write("clear\n");
            if (!target.waitFor([&] { return target.text.isEmpty(); }))
                return 1;
            keys.setPressType(34);
            popup.shown = true;
            QElapsedTimer t;
            t.start();
            voice.onAsrResult(true, text, true);
            if (!target.waitFor([&] { return target.text == text; })) {
                std::fprintf(stderr, "the text did not arrive (run %d)\n", run);
                return 1;
            }
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%3d characters: p50 %.1f ms, p95 %.1f ms, max %.1f ms (50 pastes)\n", length, ms[ms.size() / 2],
                    ms[size_t(double(ms.size()) * 0.95)], ms.back());
    }
    XCloseDisplay(display);
    target.process.closeWriteChannel();
    target.process.waitForFinished(2000);
    return 0;
}
