// qx-fake-aiweb: stands in for the AI page's helper where only the link and the window
// it names matter. Connects to the socket it is given, answers pings, and on hello
// names the window in QX_FAKE_AIWEB_WINDOW: "own" makes one on its own X connection,
// a number names that window whoever made it. A script is answered with 1, and a
// finished load follows in the same write. QX_FAKE_AIWEB_CHOOSE asks for the file
// chooser that many times at once after hello; each answer comes back as a script
// message "answer" whose body is the number of files.
#include "platform/AiWebWire.h"

#include <QCborArray>
#include <QCborValue>
#include <QCoreApplication>
#include <QLocalSocket>

#include <cstdlib>
#include <xcb/xcb.h>

using namespace platform::aiwebwire;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    QLocalSocket link;
    FrameReader reader;
    const auto named = [x]() -> quint32 {
        const QByteArray how = qgetenv("QX_FAKE_AIWEB_WINDOW");
        if (how != "own")
            return how.toUInt();
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
        const xcb_window_t w = xcb_generate_id(x);
        const quint32 values[] = {1};
        xcb_create_window(x, XCB_COPY_FROM_PARENT, w, screen->root, -2000, -2000, 200, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_OVERRIDE_REDIRECT, values);
        // As the toolkit marks its windows.
        const char name[] = "_NET_WM_PID";
        xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, sizeof name - 1, name), nullptr);
        const quint32 pid = quint32(QCoreApplication::applicationPid());
        if (atom)
            xcb_change_property(x, XCB_PROP_MODE_REPLACE, w, atom->atom, XCB_ATOM_CARDINAL, 32, 1, &pid);
        std::free(atom);
        xcb_flush(x);
        return w;
    };
    QObject::connect(&link, &QLocalSocket::disconnected, &app, &QCoreApplication::quit);
    QObject::connect(&link, &QLocalSocket::readyRead, &app, [&] {
        reader.append(link.readAll());
        while (const auto payload = reader.next()) {
            const QCborMap m = QCborValue::fromCbor(*payload).toMap();
            const QString kind = m.value(QStringLiteral("k")).toString();
            if (kind == QLatin1String("hello")) {
                link.write(frame(QStringLiteral("ready"),
                                 {{QStringLiteral("window"), qint64(named())}, {QStringLiteral("otr"), false}}));
                for (qint64 n = qEnvironmentVariableIntValue("QX_FAKE_AIWEB_CHOOSE"); n > 0; --n)
                    link.write(frame(QStringLiteral("chooseFiles"), {{QStringLiteral("request"), 0x80000000ll + n},
                                                                     {QStringLiteral("multiple"), false}}));
            } else if (kind == QLatin1String("answer")) {
                const QString files = QString::number(m.value(QStringLiteral("paths")).toArray().size());
                link.write(frame(QStringLiteral("message"), {{QStringLiteral("name"), QStringLiteral("answer")},
                                                             {QStringLiteral("json"), files}}));
            } else if (kind == QLatin1String("ping"))
                link.write(
                    frame(QStringLiteral("pong"), {{QStringLiteral("request"), m.value(QStringLiteral("request"))}}));
            else if (kind == QLatin1String("eval"))
                // The result and a page's next news in one read.
                link.write(
                    frame(QStringLiteral("result"), {{QStringLiteral("request"), m.value(QStringLiteral("request"))},
                                                     {QStringLiteral("value"), 1}})
                    + frame(QStringLiteral("loading"), {{QStringLiteral("status"), 1},
                                                        {QStringLiteral("url"), QStringLiteral("https://x.test/")},
                                                        {QStringLiteral("code"), 0},
                                                        {QStringLiteral("error"), QString()}}));
            else if (kind == QLatin1String("quit"))
                app.quit();
        }
    });
    link.connectToServer(QString::fromLocal8Bit(argv[1]));
    if (!link.waitForConnected(10000))
        return 2;
    const int code = app.exec();
    xcb_disconnect(x);
    return code;
}
