// The voice road of the running companion, timed from outside: a simulated plan-2
// receiver (umockdev) with the pointer's voice key, the local speech server, and
// another application's focused line edit (qx-paste-target).
//   1. key-down report written by the receiver -> the speech pop-up exposed on the X
//      server (Expose event), and -> its card's pixels drawn there; over N presses.
//   2. LAST sent by the speech server -> the text in the other application's field,
//      for 20 and 500 characters. Compatible mode is on at launch, so the companion
//      asks the mouse to type the paste chord and this program types it (XTest), as
//      the mouse's keyboard would: that round trip is part of the figure.
// Run under an X server and libumockdev-preload:
//   LD_PRELOAD=libumockdev-preload.so.0 xvfb-run -a build/bench/voice_road_latency [presses] [pastes]
#include "SimReceiver.h"

#include <umockdev.h>

#include "LocalSpeechServer.h"
#include "SimulatedNodeBacklog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <unistd.h>

namespace {

using bench::plugInReceiver;

QByteArray report(const char *hex)
{
    return QByteArray::fromHex(hex).leftJustified(64, '\0');
}
QByteArray framed(int event)
{
    QByteArray b = QByteArray::fromHex("0d5a4d");
    b.append(char(event)).append('\0');
    return b.leftJustified(63, '\0') + QByteArray::fromHex("4c");
}

struct Percentiles {
    double p50, p95, max;
};
Percentiles percentiles(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const auto at = [&](double p) { return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))]; };
    return {at(0.5), at(0.95), v.back()};
}

struct Road {
    Display *x = XOpenDisplay(nullptr);
    int fd = -1;
    int appSide = -1; // the application's end of the node, to see what it has not read
    QProcess app, target;
    QByteArray pending, appOut, targetOut;
    QList<QByteArray> heard;
    QString text;
    QList<QByteArray> ready;
    qint64 exposedNs = -1; // when the first Expose since the key-down came, and for which window
    Window exposedWindow = 0;
    qint64 keyDownNs = 0;
    QElapsedTimer clock;

    qint64 pidOf(Window w)
    {
        const Atom pidAtom = XInternAtom(x, "_NET_WM_PID", False);
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char *value = nullptr;
        qint64 pid = -1;
        if (XGetWindowProperty(x, w, pidAtom, 0, 1, False, AnyPropertyType, &type, &format, &items, &after, &value)
                == Success
            && value && items == 1)
            pid = qint64(*reinterpret_cast<unsigned long *>(value));
        if (value)
            XFree(value);
        return pid;
    }
    // The node is a terminal, which hands reports written together to one read (a
    // hidraw node hands over one report a read): a report goes out only once the
    // application has read the one before, however late a loaded machine lets it.
    void write(const QByteArray &r)
    {
        // Only the bench's own events meanwhile: its reads and answers would write again.
        if (!receiver_node::waitUntilAppRead(appSide, [] {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
                ::usleep(200);
            }))
            std::fprintf(stderr, "the application left a report unread\n");
        [[maybe_unused]] auto n = ::write(fd, r.constData(), size_t(r.size()));
    }
    void typePaste()
    {
        const KeyCode control = XKeysymToKeycode(x, XK_Control_L), v = XKeysymToKeycode(x, XK_v);
        XTestFakeKeyEvent(x, control, True, CurrentTime);
        XTestFakeKeyEvent(x, v, True, CurrentTime);
        XTestFakeKeyEvent(x, v, False, CurrentTime);
        XTestFakeKeyEvent(x, control, False, CurrentTime);
        XFlush(x);
    }
    void step()
    {
        char buf[4096];
        for (ssize_t n; fd >= 0 && (n = ::read(fd, buf, sizeof buf)) > 0;)
            pending.append(buf, qsizetype(n));
        for (; pending.size() >= 64; pending.remove(0, 64)) {
            heard << pending.left(64);
            if (pending.startsWith(QByteArray::fromHex("0da54d04694c")))
                write(report("0d5a4d690000")); // the mouse is there
            if (pending.startsWith(QByteArray::fromHex("0da54d062001194c"))) {
                typePaste();
                if (qEnvironmentVariableIsSet("QX_BENCH_TRACE"))
                    for (const QByteArray &r : heard.mid(heard.size() - 3))
                        std::fprintf(stderr, "TRACE %lld %s\n", clock.elapsed(), r.left(8).toHex().constData());
            }
        }
        if (app.state() == QProcess::Running)
            appOut += app.readAll();
        targetOut += target.readAllStandardOutput();
        for (qsizetype end; (end = targetOut.indexOf('\n')) >= 0; targetOut.remove(0, end + 1)) {
            const QByteArray line = targetOut.left(end);
            if (line.startsWith("text "))
                text = QString::fromUtf8(QByteArray::fromBase64(line.mid(5)));
            else if (line.startsWith("ready "))
                ready = line.split(' ');
        }
        while (XPending(x)) {
            XEvent e;
            XNextEvent(x, &e);
            if (e.type == CreateNotify)
                XSelectInput(x, e.xcreatewindow.window, ExposureMask | StructureNotifyMask);
            else if (e.type == Expose && exposedNs < 0 && pidOf(e.xexpose.window) == app.processId()) {
                exposedNs = clock.nsecsElapsed();
                exposedWindow = e.xexpose.window;
            }
        }
    }
    bool until(const std::function<bool()> &done, int ms = 10000, int line = __builtin_LINE())
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms) {
                if (ms >= 5000)
                    std::fprintf(stderr, "DEBUG wait at line %d timed out\n", line);
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            pollfd p[2] = {{fd, POLLIN, 0}, {ConnectionNumber(x), POLLIN, 0}};
            ::poll(p, 2, 1);
            step();
        }
        return true;
    }
    bool heardCommand(const char *hex)
    {
        const QByteArray wanted = QByteArray::fromHex(hex);
        for (qsizetype i = 0; i < heard.size(); ++i)
            if (heard[i].startsWith(wanted)) {
                heard.remove(0, i + 1);
                return true;
            }
        return false;
    }
    // The user clicks into the other application (the companion opens its main window
    // when the mouse connects): its windows on top, with the keyboard focus.
    void focusTarget()
    {
        Window rootWindow, parent, *children = nullptr;
        unsigned count = 0;
        XQueryTree(x, DefaultRootWindow(x), &rootWindow, &parent, &children, &count);
        for (unsigned i = 0; i < count; ++i)
            if (pidOf(children[i]) == target.processId()) {
                XRaiseWindow(x, children[i]);
                XSetInputFocus(x, children[i], RevertToPointerRoot, CurrentTime);
            }
        if (children)
            XFree(children);
        XTestFakeMotionEvent(x, -1, ready[1].toInt() + 30, ready[2].toInt() + 12, CurrentTime);
        XSync(x, False);
    }
    // Whether the window the last Expose came for shows the pop-up card's white.
    bool cardDrawn(Window w)
    {
        XImage *image = XGetImage(x, w, 160, 30, 1, 1, AllPlanes, ZPixmap);
        const bool white = image && (XGetPixel(image, 0, 0) & 0xffffff) == 0xffffff;
        if (image)
            XDestroyImage(image);
        return white;
    }
};

QString textOf(int count)
{
    const QString sample = QStringLiteral("voice typing 语音输入 ");
    QString text;
    while (text.size() < count)
        text += sample;
    return text.left(count);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication qapp(argc, argv);
    Road road;
    if (!road.x || !qEnvironmentVariable("LD_PRELOAD").contains(QLatin1String("umockdev"))) {
        std::fprintf(stderr, "run under an X server with LD_PRELOAD=libumockdev-preload.so.0\n");
        return 2;
    }
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const int pastes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    road.clock.start();
    XSelectInput(road.x, DefaultRootWindow(road.x), SubstructureNotifyMask);

    LocalSpeechServer server;
    QTemporaryDir root;
    UMockdevTestbed *bed = umockdev_testbed_new();
    QProcessEnvironment targetEnv = QProcessEnvironment::systemEnvironment();
    targetEnv.remove("QT_QPA_PLATFORM");
    road.target.setProcessEnvironment(targetEnv);
    road.target.start(QStringLiteral(QX_PASTE_TARGET), {QStringLiteral("line")});
    if (!road.until([&] { return road.ready.size() == 5; }))
        return 1;
    XTestFakeMotionEvent(road.x, -1, road.ready[1].toInt() + 20, road.ready[2].toInt() + 10, CurrentTime);
    XFlush(road.x);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QX_DATA_DIR", root.path());
    env.insert("QX_ASR_BASE", server.base());
    for (const char *var : {"QX_API_BASE", "QX_API2_BASE", "QX_WEB_BASE", "QX_WEATHER_BASE", "QX_SEMANTIC_BASE"})
        env.insert(var, "http://127.0.0.1:9");
    env.remove("QT_QPA_PLATFORM");
    road.app.setProcessEnvironment(env);
    road.app.setProcessChannelMode(QProcess::MergedChannels);
    road.app.start(QStringLiteral(QX_APP_EXE), {});
    if (!road.until([&] { return road.appOut.contains("event loop running"); }, 30000))
        return 1;
    road.fd = plugInReceiver(bed);
    road.appSide = receiver_node::openAppSide(road.fd);
    if (receiver_node::unreadOnNode(road.appSide) < 0) {
        std::fprintf(stderr, "cannot see what the application has not read on the node\n");
        return 1;
    }
    ::fcntl(road.fd, F_SETFL, ::fcntl(road.fd, F_GETFL) | O_NONBLOCK);
    if (!road.until([&] { return road.heardCommand("0da54d04614c"); })) {
        std::fprintf(stderr, "the receiver was not taken up:\n%s\n", road.appOut.constData());
        return 1;
    }
    QByteArray info = QByteArray::fromHex("0d5a4d6100") + QByteArray("QXB0001").leftJustified(30, '\0');
    info += QByteArray::fromHex("ab22513101000102054d") + QByteArray("V1.2.3");
    road.write(info.leftJustified(64, '\0'));
    road.until([&] { return road.appOut.contains("sn: QXB0001"); });
    road.until([] { return false; }, 500);
    road.focusTarget();

    // One recognition: the key toggles on, a little voice, the key toggles off; the
    // server's replies are the caller's.
    const auto session = [&](const std::function<void()> &atKeyDown, const std::function<void()> &atEnd) {
        road.until([] { return false; }, 1600); // past the dispatcher's start guard
        road.target.write("clear\n");
        road.until([&] { return road.text.isEmpty(); });
        const int frames = int(server.frames.size());
        road.exposedNs = -1;
        road.keyDownNs = road.clock.nsecsElapsed();
        road.write(framed(0x9a));
        atKeyDown();
        road.until([&] { return road.heardCommand("0da54d04624c"); });
        road.until([&] { return server.isConnected(); });
        // Reports 6 ms apart, as the mouse sends them (each after the last was read).
        const auto paced = [&](const QByteArray &r) {
            road.write(r);
            road.until([] { return false; }, 6);
        };
        paced(framed(0x5a));
        for (int i = 0; i < 10; ++i)
            paced(report("0d5a3f02").leftJustified(64, '\x11'));
        paced(framed(0x9a));
        road.until([&] { return road.heardCommand("0da54d04634c"); });
        road.write(framed(0x00));
        road.until([&] { return server.frames.size() > frames && server.frames.last().end; });
        atEnd();
    };

    std::vector<double> exposed, drawn;
    for (int i = 0; i < presses; ++i) {
        session(
            [&] {
                road.until([&] { return road.exposedNs >= 0; }, 5000);
                exposed.push_back(double(road.exposedNs - road.keyDownNs) / 1e6);
                road.until([&] { return road.cardDrawn(road.exposedWindow); }, 5000);
                drawn.push_back(double(road.clock.nsecsElapsed() - road.keyDownNs) / 1e6);
            },
            [&] {
                server.say(LocalSpeechServer::reply("LAST", "x"));
                if (!road.until([&] { return road.text == QLatin1String("x"); }))
                    std::fprintf(stderr, "press %d: its text did not arrive\n", i);
            });
    }
    const Percentiles e = percentiles(exposed), d = percentiles(drawn);
    std::printf("key-down report -> pop-up exposed (%d presses): p50 %.1f ms, p95 %.1f ms, max %.1f ms\n", presses,
                e.p50, e.p95, e.max);
    std::printf("key-down report -> pop-up card drawn on the server: p50 %.1f ms, p95 %.1f ms, max %.1f ms\n", d.p50,
                d.p95, d.max);

    for (int length : {20, 500}) {
        const QString text = textOf(length);
        std::vector<double> ms;
        for (int i = 0; i < pastes; ++i) {
            session([] {},
                    [&] {
                        server.say(LocalSpeechServer::reply("FIN", text));
                        road.until([] { return false; }, 50);
                        const qint64 t0 = road.clock.nsecsElapsed();
                        server.say(LocalSpeechServer::reply("LAST", ""));
                        if (road.until([&] { return road.text == text; }))
                            ms.push_back(double(road.clock.nsecsElapsed() - t0) / 1e6);
                        else
                            std::fprintf(stderr, "paste %d of %d characters did not arrive: %s\n", i, length,
                                         qPrintable(road.text.left(40)));
                    });
        }
        if (ms.empty())
            return 1;
        const Percentiles p = percentiles(ms);
        std::printf("LAST -> text in the other application, %3d characters (%zu pastes): p50 %.1f ms, p95 %.1f ms, "
                    "max %.1f ms\n",
                    length, ms.size(), p.p50, p.p95, p.max);
    }
    road.app.terminate();
    road.app.waitForFinished(10000);
    road.target.closeWriteChannel();
    road.target.waitForFinished(2000);
    g_object_unref(bed);
    return 0;
}
