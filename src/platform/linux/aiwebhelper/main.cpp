// qx-aiweb: the AI window's web page in a process of its own, so that the companion,
// which runs all day, never maps the web engine, gets its memory back when the window
// closes, and outlives a crash inside the engine. Started by the companion with the
// path of its socket; ends when the companion says so or the link goes.
#include "AiWebHelperServer.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QQuickWindow>

#include <cstdio>

namespace platform::linuxbackend {
void adoptSanitizerOptions(char **argv); // SanitizerDefaults.cpp
}

namespace {

QtMessageHandler g_defaultHandler = nullptr;

// The toolkit and the engine each say once per start that they found no OpenGL, which
// is what this program asked for: said on every open, it would only bury real faults.
void dropWarningsOfNoOpenGl(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg
        && (text.startsWith(QLatin1String("QXcbIntegration: Cannot create platform OpenGL"))
            || text.startsWith(QLatin1String("No suitable graphics backend found"))))
        return;
    if (g_defaultHandler)
        g_defaultHandler(type, context, text);
}

} // namespace

int main(int argc, char **argv)
{
    platform::linuxbackend::adoptSanitizerOptions(argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: qx-aiweb SOCKET\n");
        return 2;
    }
    // The page is drawn by the processor, not through OpenGL: loading a GL driver and
    // making the contexts the engine would share with the toolkit's is the larger part
    // of this program's start, which the user waits for on every open, and a chat page
    // needs no graphics card to draw it.
    qputenv("QT_XCB_GL_INTEGRATION", "none");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    g_defaultHandler = qInstallMessageHandler(dropWarningsOfNoOpenGl);
    // The engine lists its graphics settings whenever it draws without OpenGL.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
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
