#pragma once

// Voice typing as the user does it, around the real application: a simulated plan-2
// receiver (umockdev) whose mouse has the presentation pointer's voice keys, a phrase
// spoken with espeak-ng, the local speech server, a private PulseAudio daemon and
// D-Bus session bus, and another application's focused line edit on the X display.
// When the application asks the mouse to type the paste chord (compatible mode, on at
// every launch), the mouse types it on the display, as its keyboard interface would.
#include "ReceiverNode.h"

#include "LocalSpeechServer.h"
#include "PrivatePulseAudio.h"
#include "SimVoiceDevice.h"
#include "X11Desktop.h"

#include <QtEndian>

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <functional>
#include <optional>
#include <utility>

#include <sys/ioctl.h>

namespace voice_rig {

using namespace receiver_node;

inline const char kPulseScript[] = "load-module module-null-sink sink_name=qxsink\n"
                                   "load-module module-remap-source master=qxsink.monitor source_name=qxmic\n"
                                   "set-default-source qxmic";

// A framed event of the mouse: 0d 5a 4d <event> 00 …, 4c at the end (64 bytes).
inline QByteArray framed(int event)
{
    QByteArray b = QByteArray::fromHex("0d5a4d");
    b.append(char(event)).append('\0');
    return b.leftJustified(63, '\0') + QByteArray::fromHex("4c");
}
constexpr int kPointerVoiceKey = 0x9a; // toggles voice typing
constexpr int kSearchDown = 0x9c, kSearchUp = 0x9d;
constexpr int kVoiceStart = 0x5a, kVoiceEnd = 0x00;

// The environment of the programs the rig runs besides the application: without the
// preloaded umockdev (and sanitizer runtime) that only the application needs, under
// which a program of the system's hangs.
inline QProcessEnvironment toolEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_PRELOAD"));
    return env;
}

// The phrase as espeak-ng speaks it, resampled to 16 kHz; empty when it cannot.
inline std::vector<int16_t> spoken(const QString &phrase)
{
    QProcess espeak;
    espeak.setProcessEnvironment(toolEnvironment());
    espeak.start(QStringLiteral("espeak-ng"), {QStringLiteral("--stdout"), phrase});
    if (!espeak.waitForFinished(20000))
        return {};
    const QByteArray wav = espeak.readAllStandardOutput();
    const qsizetype data = wav.indexOf("data");
    if (wav.size() < 44 || data < 0)
        return {};
    const double step = qFromLittleEndian<quint32>(wav.constData() + 24) / 16000.0;
    const auto at = [&](qsizetype i) { return qFromLittleEndian<qint16>(wav.constData() + data + 8 + 2 * i); };
    const qsizetype n = (wav.size() - data - 8) / 2;
    std::vector<int16_t> out;
    for (double t = 0; t + 1 < double(n); t += step) {
        const qsizetype i = qsizetype(t);
        out.push_back(int16_t(at(i) + (t - double(i)) * (at(i + 1) - at(i))));
    }
    return out;
}

class VoiceE2E : public AppReceiverE2E {
protected:
    static constexpr const char *kPhrase = "hello from the quorvex mouse";

    void SetUp() override
    {
        AppReceiverE2E::SetUp();
        if (IsSkipped())
            return;
        m_x = XOpenDisplay(nullptr);
        if (!m_x)
            GTEST_SKIP() << "no X display";
        // The other processes' windows come and go while the rig asks about them (a
        // pop-up closing between the listing and the question): an X error is no
        // failure. Xlib's default handler would exit the test program, and that exit
        // hangs on the threads and children still running until ctest's time-out.
        m_previousErrorHandler = XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
        m_samples = spoken(QString::fromLatin1(kPhrase));
        ASSERT_GT(m_samples.size(), 8000u) << "espeak-ng did not speak (scripts/install-deps installs it)";
        m_pulse = std::make_unique<PrivatePulseAudio>(QString::fromLatin1(kPulseScript));
        ASSERT_TRUE(m_pulse->error().isEmpty()) << m_pulse->error().toStdString();
        m_bus.setProcessEnvironment(toolEnvironment());
        m_bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        ASSERT_TRUE(m_bus.waitForReadyRead(5000)) << "no private session bus";
        m_busAddress = m_bus.readLine().trimmed();
        startTarget();
    }
    void TearDown() override
    {
        m_app.reset();
        if (m_appSide >= 0)
            ::close(m_appSide);
        m_target.kill();
        m_target.waitForFinished(2000);
        m_bus.kill();
        m_bus.waitForFinished(2000);
        if (m_x) {
            XCloseDisplay(m_x);
            XSetErrorHandler(m_previousErrorHandler);
        }
        AppReceiverE2E::TearDown();
    }

    void startTarget()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM")); // on the X display
        m_target.setProcessEnvironment(env);
        m_target.start(QStringLiteral(QX_PASTE_TARGET), {QStringLiteral("line")});
        ASSERT_TRUE(pump([&] { return !m_ready.isEmpty(); }, 10000)) << "the paste target never took the focus";
        if (m_app)
            focusTarget();
    }

    // The application on the X display, its speech host the local server's (and the
    // outside hosts `extra` names); then the receiver plugged in and answered until the
    // mouse is connected.
    void launch(const Receiver &receiver, const QProcessEnvironment &extra = {})
    {
        QProcessEnvironment env = extra;
        env.insert("QX_ASR_BASE", server.base());
        env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromUtf8(m_busAddress));
        m_app = std::make_unique<AppProcess>(m_root.path(), env);
        m_app->unsetEnv(QStringLiteral("QT_QPA_PLATFORM"));
        ASSERT_TRUE(m_app->start());
        ASSERT_TRUE(pump([&] { return m_app->output().contains("event loop running"); }, 20000))
            << m_app->output().toStdString();
        const auto opened = m_app->count("open the main window");
        m_fd = addReceiver(receiver);
        ASSERT_GE(m_fd, 0);
        // The application's side of the simulated node, to see what it has not read yet.
        m_appSide = openAppSide(m_fd);
        ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
        m_hidraw = receiver.hidraw();
        putBack();
        if (HasFatalFailure())
            return;
        // The main window it opens for the mouse takes the keyboard focus once it is mapped,
        // late on a loaded machine; the user clicks into the other application after that,
        // or the paste chord reaches the main window.
        pump([&] { return m_app->count("open the main window") > opened && applicationHasTheFocus(); }, 10000);
        focusTarget();
        m_baseWindows = shownWindows();
    }
    // The receiver arrives (again): its mouse answers the connection poll and the
    // information request until the application has read its serial number.
    void putBack()
    {
        const int connected = m_app->count("sn: QXE2E0001");
        umockdev_testbed_uevent(m_bed, m_hidraw.constData(), "add");
        ASSERT_TRUE(pump([&] { return heard("0da54d04694c"); }, 10000)) << m_app->output().toStdString();
        send(report64("0d5a4d690000")); // the mouse is there
        ASSERT_TRUE(pump([&] { return heard("0da54d04614c"); }, 10000));
        QByteArray info = QByteArray::fromHex("0d5a4d6100") + QByteArray("QXE2E0001").leftJustified(30, '\0');
        info += QByteArray::fromHex("ab22513101000102054d") + QByteArray("V1.2.3");
        send(info.leftJustified(64, '\0'));
        ASSERT_TRUE(pump([&] { return m_app->count("sn: QXE2E0001") > connected; }, 10000))
            << m_app->output().toStdString();
    }
    // The receiver pulled out, its node left in the test bed (umockdev cannot add a
    // removed tree again): the application closes it and opens it at the next arrival.
    void pullOut() { umockdev_testbed_uevent(m_bed, m_hidraw.constData(), "remove"); }
    void unplug()
    {
        if (m_appSide >= 0)
            ::close(std::exchange(m_appSide, -1));
        umockdev_testbed_uevent(m_bed, m_hidraw.constData(), "remove");
        umockdev_testbed_remove_device(m_bed, m_hidraw.constData());
        m_fd = -1;
    }

    // One report, and the 6.25 ms a plan-2 mouse takes to the next. The simulated node
    // is a terminal, which hands reports written together to one read (a hidraw node
    // hands over one report a read): however late a loaded machine lets the application
    // read the last one, the next waits until it has.
    void send(const QByteArray &report)
    {
        ASSERT_GE(unreadByTheApplication(), 0) << "the rig cannot see what the application has not read";
        ASSERT_TRUE(
            pump([this] { return unreadByTheApplication() == 0 || !m_app->running(); }, receiver_node::kUnreadLimitMs))
            << "the application left a report unread: " << m_app->output().toStdString();
        if (m_fd >= 0) {
            ASSERT_EQ(::write(m_fd, report.constData(), size_t(report.size())), report.size());
        }
        pump([] { return false; }, 6);
    }
    int unreadByTheApplication() const { return m_fd >= 0 ? receiver_node::unreadOnNode(m_appSide) : 0; }
    // The mouse speaks `samples` as plan-2 ADPCM reports of 100 samples.
    void speak(size_t samples, const std::function<void(int)> &afterReport = {})
    {
        sim::SimVoiceDevice voice({m_samples.begin(), m_samples.begin() + qsizetype(samples)});
        for (int i = 0; size_t(i + 1) * 100 <= samples; ++i) {
            const QByteArray r = voice.plan2Report();
            m_spokenAdpcm += r.mid(6, 50);
            send(r);
            if (afterReport)
                afterReport(i);
        }
    }
    // Whether the application wrote a report starting with `hex`; taken off the list.
    bool heard(const char *hex)
    {
        const QByteArray wanted = QByteArray::fromHex(hex);
        return heardWhere([&](const QByteArray &r) { return r.startsWith(wanted); }).has_value();
    }
    // The first report the application wrote that `wanted` accepts; it and the
    // reports before it are taken off the list.
    std::optional<QByteArray> heardWhere(const std::function<bool(const QByteArray &)> &wanted)
    {
        for (qsizetype i = 0; i < m_heard.size(); ++i)
            if (wanted(m_heard[i])) {
                const QByteArray r = m_heard[i];
                m_heard.remove(0, i + 1);
                return r;
            }
        return std::nullopt;
    }
    // What a failed wait reports: the field, the chords, the server, the user log.
    std::string diag()
    {
        return QStringLiteral("field \"%1\", typed %2, frames %3, log: %4")
            .arg(m_text)
            .arg(m_typed)
            .arg(server.frames.size())
            .arg(QString::fromUtf8(AppProcess::userLog(m_root.path())))
            .toStdString();
    }
    bool recognitionOpen() { return AppProcess::userLog(m_root.path()).count("开始录音") > m_opened; }

    // Runs this process's event loop, the device side and the paste target until `done`.
    // A wait for an outcome (a second or more) stretches under a sanitizer, which runs the
    // application several times slower; the short pauses that pace a mouse do not.
    bool pump(const std::function<bool()> &done, int timeoutMs)
    {
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
        if (timeoutMs >= 1000)
            timeoutMs *= 4;
#endif
        QElapsedTimer t;
        t.start();
        for (;;) {
            readDevice();
            readTarget();
            if (done())
                return true;
            if (t.elapsed() > timeoutMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
            pollfd p{m_fd, POLLIN, 0};
            ::poll(&p, m_fd >= 0 ? 1 : 0, 2);
        }
    }

    // The top-level windows of a process that are shown on the display (with a window
    // manager, the windows in its frames).
    QList<Window> shownWindowsOf(qint64 pid)
    {
        xcb_connection_t *c = XGetXCBConnection(m_x);
        QList<Window> shown;
        for (const x11desktop::TopLevel &top : x11desktop::shownTopLevels(c))
            if (x11desktop::processOf(c, top.window) == pid)
                shown << top.window;
        return shown;
    }
    int shownWindows()
    {
        return int(shownWindowsOf(m_app->pid()).size());
    }
    bool applicationHasTheFocus()
    {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(m_x, &focus, &revert);
        return shownWindowsOf(m_app->pid()).contains(focus);
    }
    // The user clicks into the other application (the companion opens its main window
    // when a mouse connects): on top, with the keyboard focus and the pointer.
    void focusTarget()
    {
        for (Window w : shownWindowsOf(m_target.processId()))
            x11desktop::activate(XGetXCBConnection(m_x), xcb_window_t(w));
        settleDesktop();
        const QList<QByteArray> r = m_ready.split(' ');
        XTestFakeMotionEvent(m_x, -1, r[1].toInt() + 30, r[2].toInt() + 12, CurrentTime);
        XSync(m_x, False);
        pump([] { return false; }, 100);
    }

    // Once the window manager, if one runs, has handled the clicks and requests made so far.
    void settleDesktop()
    {
        x11desktop::settle(XGetXCBConnection(m_x));
    }
    Display *display() const
    {
        return m_x;
    }

    LocalSpeechServer server;
    std::unique_ptr<AppProcess> m_app;
    std::vector<int16_t> m_samples;
    QByteArray m_spokenAdpcm;
    QString m_text;     // the paste target's field
    QByteArray m_ready; // "ready x y w h": the field on the screen
    int m_typed = 0;    // paste chords the mouse typed
    int m_baseWindows = 0;
    int m_opened = 0; // recognitions opened before this one
    std::unique_ptr<PrivatePulseAudio> m_pulse;
    QProcess m_target;

private:
    void readDevice()
    {
        if (m_fd < 0)
            return;
        char buf[4096];
        for (ssize_t n; (n = ::read(m_fd, buf, sizeof buf)) > 0;)
            m_pending.append(buf, qsizetype(n));
        for (; m_pending.size() >= 64; m_pending.remove(0, 64)) {
            const QByteArray r = m_pending.left(64);
            m_heard << r;
            // The paste chord, Control + V: the mouse's keyboard types it.
            if (r.startsWith(QByteArray::fromHex("0da54d062001194c"))) {
                ++m_typed;
                const KeyCode control = XKeysymToKeycode(m_x, XK_Control_L), v = XKeysymToKeycode(m_x, XK_v);
                XTestFakeKeyEvent(m_x, control, True, CurrentTime);
                XTestFakeKeyEvent(m_x, v, True, CurrentTime);
                XTestFakeKeyEvent(m_x, v, False, CurrentTime);
                XTestFakeKeyEvent(m_x, control, False, CurrentTime);
                XSync(m_x, False);
            }
        }
    }
    void readTarget()
    {
        m_targetOut += m_target.readAllStandardOutput();
        for (qsizetype end; (end = m_targetOut.indexOf('\n')) >= 0; m_targetOut.remove(0, end + 1)) {
            const QByteArray line = m_targetOut.left(end);
            if (line.startsWith("text "))
                m_text = QString::fromUtf8(QByteArray::fromBase64(line.mid(5)));
            else if (line.startsWith("ready "))
                m_ready = line;
        }
    }

    Display *m_x = nullptr;
    XErrorHandler m_previousErrorHandler = nullptr;
    QProcess m_bus;
    QByteArray m_busAddress, m_hidraw, m_pending, m_targetOut;
    QList<QByteArray> m_heard;
    int m_fd = -1;
    int m_appSide = -1;
};

} // namespace voice_rig
