#include "DisplayGuard.h"

#include <QByteArray>
#include <QList>

#include <cstdio>
#include <unistd.h>

namespace {

struct Held {
    QtMsgType type;
    // File, function and category names are literals of the caller.
    const char *file;
    int line;
    const char *function;
    const char *category;
    QString message;
};

QtMessageHandler g_previous = nullptr;
QList<Held> *g_held = nullptr;
QByteArray g_problem;
bool g_active = false;

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        // Nothing was started yet that needs an orderly end.
        std::fprintf(stderr, "%s\n", g_problem.constData());
        std::fflush(stderr);
        ::_exit(1);
    }
    g_held->append({type, context.file, context.line, context.function, context.category, message});
}

} // namespace

DisplayGuard::DisplayGuard(int argc, char **argv)
{
    QString platformArgument;
    for (int i = 1; i + 1 < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-platform" || arg == "--platform")
            platformArgument = QString::fromLocal8Bit(argv[i + 1]);
    }
    g_problem = problemText(platformArgument, qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
                            qEnvironmentVariable("WAYLAND_DISPLAY"))
                    .toLocal8Bit();
    g_held = new QList<Held>;
    g_active = true;
    g_previous = qInstallMessageHandler(holdMessage);
}

DisplayGuard::~DisplayGuard()
{
    release();
}

void DisplayGuard::release()
{
    if (!g_active)
        return;
    g_active = false;
    qInstallMessageHandler(g_previous);
    const QList<Held> held = std::move(*g_held);
    delete g_held;
    g_held = nullptr;
    for (const Held &m : held) {
        const QMessageLogContext context(m.file, m.line, m.function, m.category);
        if (g_previous)
            g_previous(m.type, context, m.message);
        else
            std::fprintf(stderr, "%s\n", m.message.toLocal8Bit().constData());
    }
}

QString DisplayGuard::problemText(const QString &platformArgument, const QString &qpaPlatform, const QString &display,
                                  const QString &waylandDisplay)
{
    const QString chosen = !platformArgument.isEmpty() ? platformArgument : qpaPlatform;
    const QString name = chosen.section(u':', 0, 0);
    if (!name.isEmpty() && name != QLatin1String("xcb") && !name.startsWith(QLatin1String("wayland")))
        return QStringLiteral("cannot start the display platform \"%1\" chosen by %2")
            .arg(chosen, platformArgument.isEmpty() ? QStringLiteral("QT_QPA_PLATFORM") : QStringLiteral("-platform"));
    QString text = display.isEmpty() ? QStringLiteral("no X11 display: DISPLAY is not set")
                                     : QStringLiteral("no X11 display: cannot connect to DISPLAY=%1").arg(display);
    if (!waylandDisplay.isEmpty())
        text += QStringLiteral(", and the Wayland display WAYLAND_DISPLAY=%1 cannot be used").arg(waylandDisplay);
    return text + QStringLiteral(". Start the app inside a desktop session (X11, XWayland or Wayland).");
}
