// qx-aiweb: the AI window's web page in a process of its own, so that the companion,
// which runs all day, never maps the web engine, gets its memory back when the window
// closes, and outlives a crash inside the engine. Started by the companion with the
// path of its socket; ends when the companion says so or the link goes.
#include "AiWebHelperServer.h"

#include <QApplication>

#include <cstdio>

namespace platform::linuxbackend {
void adoptSanitizerOptions(char **argv); // SanitizerDefaults.cpp
}

int main(int argc, char **argv)
{
    platform::linuxbackend::adoptSanitizerOptions(argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: qx-aiweb SOCKET\n");
        return 2;
    }
    // The engine's widgets draw through contexts shared with the application's.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    platform::linuxbackend::AiWebHelperServer server(QString::fromLocal8Bit(argv[1]));
    if (!server.connectToCompanion()) {
        std::fprintf(stderr, "qx-aiweb: no companion at %s\n", argv[1]);
        return 2;
    }
    const int code = app.exec();
    server.shutDown();
    return code;
}
