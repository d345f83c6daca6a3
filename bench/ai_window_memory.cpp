// What the AI window costs the process (run by hand under Xvfb, as root or not):
//   ai_window_memory [seconds-after-hide]
// Resident memory before the window first opens (through its holder), while it shows
// its page, and the given seconds (default 60) after it was hidden; the time from the
// open call to the page's complete document; and which processes of the page (its
// helper, qx-aiweb, and the web engine's below it) are left 5 s after the hide. The
// page runs in the helper as in the application: this process never maps the engine.
#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "InstalledInstance.h"
#include "NotificationCenter.h"
#include "ScopedUserInfoData.h"
#include "aiweb/QXAIWindowTool.h"
#include "platform/linux/RemoteAiWebHost.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTest>

#include <cstdio>
#include <unistd.h>

namespace {

double rssMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

// The page's processes below this one: the helper, and the web engine's by their --type
// (zygotes, renderers, utilities): "type=count ...".
QString webEngineHelpers()
{
    QMap<qint64, qint64> parentOf;
    QMap<qint64, QByteArray> typeOf;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!isPid || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray s = stat.readAll();
        const QList<QByteArray> rest = s.mid(s.lastIndexOf(')') + 2).split(' ');
        if (rest.size() > 1)
            parentOf.insert(pid, rest.at(1).toLongLong());
        QFile cmd(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (cmd.open(QIODevice::ReadOnly))
            for (const QByteArray &arg : cmd.readAll().split('\0')) {
                if (arg.startsWith("--type="))
                    typeOf.insert(pid, arg.mid(7));
                else if (arg.endsWith("/qx-aiweb") && !typeOf.contains(pid))
                    typeOf.insert(pid, "helper");
            }
    }
    QMap<QByteArray, int> counts;
    for (auto it = typeOf.cbegin(); it != typeOf.cend(); ++it) {
        for (qint64 p = parentOf.value(it.key()); p > 1; p = parentOf.value(p))
            if (p == ::getpid()) {
                ++counts[it.value()];
                break;
            }
    }
    QStringList out;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        out << QStringLiteral("%1=%2").arg(QString::fromLatin1(it.key())).arg(it.value());
    return out.isEmpty() ? QStringLiteral("none") : out.join(QLatin1Char(' '));
}

bool mapsWebEngine()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                "--disable-background-networking --disable-component-update --no-first-run");
    QApplication app(argc, argv);
    const int afterHide = argc > 1 ? QByteArray(argv[1]).toInt() : 60;
    NotificationCenter notifications;
    ScopedInstall<NotificationCenter> installed(&notifications);
    ScopedUserInfoData state;
    state->setProductCode(QStringLiteral("100"));
    FakeClipboard clipboard;
    FakeAppShell shell;
    QTest::qWait(2000);
    const double idle = rssMiB();
    std::printf("idle: RSS %.1f MiB, web engine mapped: %s\n", idle, mapsWebEngine() ? "yes" : "no");

    QElapsedTimer clock;
    clock.start();
    CallLog log;
    VoiceKeyState keys;
    FakeVoiceKeyDispatcher voice{log};
    QXAIWindowTool::Deps deps;
    deps.state = &state.state();
    deps.keys = &keys;
    deps.voice = &voice;
    deps.shell = [&shell] { return &shell; };
    deps.clipboard = &clipboard;
    deps.makeHost = &platform::linuxbackend::createRemoteAiWebHost;
    deps.hosts = AiPageHosts::configured();
    QXAIWindowTool tool(deps);
    tool.showInWindow();
    bool ready = false;
    while (!ready && clock.elapsed() < 30000) {
        tool.webWindow()->aiWebView()->evaluate(QStringLiteral("document.readyState === 'complete'"),
                                                [&](const QVariant &v) { ready = v.toBool(); });
        QTest::qWait(5);
    }
    std::printf("open to complete page: %lld ms\n", static_cast<long long>(clock.elapsed()));
    QTest::qWait(3000);
    std::printf("showing: RSS %.1f MiB, page processes: %s, web engine mapped: %s\n", rssMiB(),
                qPrintable(webEngineHelpers()), mapsWebEngine() ? "yes" : "no");

    // Hidden: the window goes a second later, and the engine's page with it.
    tool.hiddenWindow();
    QTest::qWait(5000);
    std::printf("5 s after hide: page helpers %d\n", platform::linuxbackend::RemoteAiWebHost::liveHelpers());
    std::printf("5 s after hide: page processes: %s\n", qPrintable(webEngineHelpers()));
    QTest::qWait(std::max(0, afterHide - 5) * 1000);
    const double after = rssMiB();
    std::printf("%d s after hide: RSS %.1f MiB (%+.1f MiB over idle)\n", afterHide, after, after - idle);
    return 0;
}
