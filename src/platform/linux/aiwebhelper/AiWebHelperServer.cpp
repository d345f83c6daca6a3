#include "AiWebHelperServer.h"

#include "../webengine/QtAiWebHost.h"

#include <QCborArray>
#include <QCborValue>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWebEnginePage>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

namespace platform::linuxbackend {

namespace {
constexpr int kDestinationTimeoutMs = 15000;
} // namespace

AiWebHelperServer::AiWebHelperServer(const QString &socketPath) : m_socketPath(socketPath)
{
    connect(&m_socket, &QLocalSocket::readyRead, this, &AiWebHelperServer::readCommands);
    // No companion, no page: nobody would see it or end it.
    connect(&m_socket, &QLocalSocket::disconnected, this, [] { QCoreApplication::exit(0); });
}

AiWebHelperServer::~AiWebHelperServer()
{
    m_host.reset();
}

void AiWebHelperServer::shutDown()
{
    if (!m_host)
        return;
    m_host->view()->hide();
    m_host.reset();
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

bool AiWebHelperServer::connectToCompanion()
{
    m_socket.connectToServer(m_socketPath);
    return m_socket.waitForConnected(10000);
}

void AiWebHelperServer::send(const QString &kind, const QCborMap &fields)
{
    if (m_socket.state() != QLocalSocket::ConnectedState)
        return;
    QByteArray bytes = aiwebwire::frame(kind, fields);
    // The companion ends a helper that sends more: a result that large comes back
    // empty, so whoever waits for it hears, and a message that large is not passed on.
    if (bytes.size() - 4 > aiwebwire::kMaxEvent) {
        std::fprintf(stderr, "qx-aiweb: a page's %s of %lld bytes is too large to pass on\n", qPrintable(kind),
                     qint64(bytes.size()));
        if (kind != QLatin1String("result"))
            return;
        QCborMap empty = fields;
        empty.insert(QStringLiteral("value"), QCborValue(QCborValue::Null));
        bytes = aiwebwire::frame(kind, empty);
    }
    m_socket.write(bytes);
}

void AiWebHelperServer::readCommands()
{
    m_reader.append(m_socket.readAll());
    while (const auto payload = m_reader.next()) {
        const QCborValue v = QCborValue::fromCbor(*payload);
        if (v.isMap())
            command(v.toMap());
    }
    if (m_reader.failed()) {
        std::fprintf(stderr, "qx-aiweb: the companion's stream is broken\n");
        QCoreApplication::exit(2);
    }
}

std::optional<QCborMap> AiWebHelperServer::waitForAnswer(quint32 request, int timeoutMs)
{
    QEventLoop loop;
    QTimer timer;
    if (timeoutMs > 0) {
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(timeoutMs);
    }
    const auto check = [&] {
        if (m_answers.has(request) || m_socket.state() != QLocalSocket::ConnectedState)
            loop.quit();
    };
    m_answers.await(request);
    auto a = connect(&m_socket, &QLocalSocket::readyRead, &loop, check, Qt::QueuedConnection);
    auto b = connect(&m_socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    check();
    if (!m_answers.has(request))
        loop.exec();
    disconnect(a);
    disconnect(b);
    return m_answers.end(request);
}

void AiWebHelperServer::hello(const QCborMap &m)
{
    if (m_host)
        return;
    AiWebHostOptions o;
    o.profileName = m.value(QStringLiteral("profile")).toString();
    o.storagePath = m.value(QStringLiteral("storage")).toString();
    o.userAgent = m.value(QStringLiteral("agent")).toString();
    for (const QCborValue &name : m.value(QStringLiteral("names")).toArray())
        o.messageHandlerNames << name.toString();
    m_host = std::make_unique<QtAiWebHost>(o);

    IAiWebHost::Callbacks c;
    c.loadingChanged = [this](IAiWebHost::LoadStatus status, const QUrl &url, int code, const QString &error) {
        send(QStringLiteral("loading"), {{QStringLiteral("status"), int(status)},
                                         {QStringLiteral("url"), url.toString(QUrl::FullyEncoded)},
                                         {QStringLiteral("code"), code},
                                         {QStringLiteral("error"), error}});
    };
    c.mainFrameShown = [this](const QUrl &url, const QString &type) {
        send(QStringLiteral("shown"),
             {{QStringLiteral("url"), url.toString(QUrl::FullyEncoded)}, {QStringLiteral("type"), type}});
    };
    c.scriptMessage = [this](const QString &name, const QString &json) {
        send(QStringLiteral("message"), {{QStringLiteral("name"), name}, {QStringLiteral("json"), json}});
    };
    c.newWindowRequested = [this](const QUrl &url, bool userGesture) {
        send(QStringLiteral("newWindow"),
             {{QStringLiteral("url"), url.toString(QUrl::FullyEncoded)}, {QStringLiteral("gesture"), userGesture}});
    };
    c.downloadDestination = [this](const IAiWebHost::Download &d) {
        send(QStringLiteral("download"), {{QStringLiteral("id"), qint64(d.id)},
                                          {QStringLiteral("url"), d.url.toString(QUrl::FullyEncoded)},
                                          {QStringLiteral("type"), d.mimeType},
                                          {QStringLiteral("name"), d.suggestedName},
                                          {QStringLiteral("link"), d.fromLink}});
        const auto answer = waitForAnswer(d.id, kDestinationTimeoutMs);
        return answer ? answer->value(QStringLiteral("path")).toString() : QString();
    };
    c.downloadChanged = [this](const IAiWebHost::DownloadUpdate &u) {
        send(QStringLiteral("progress"), {{QStringLiteral("id"), qint64(u.id)},
                                          {QStringLiteral("state"), int(u.state)},
                                          {QStringLiteral("received"), qMax<qint64>(0, u.received)},
                                          {QStringLiteral("total"), qMax<qint64>(-1, u.total)},
                                          {QStringLiteral("path"), u.path},
                                          {QStringLiteral("error"), u.error}});
    };
    c.chooseFiles = [this](bool multiple) {
        // The file chooser's requests are numbered from 0x80000000 up, apart from the
        // download ids below them.
        const quint32 request = 0x80000000u + m_nextRequest++;
        send(QStringLiteral("chooseFiles"),
             {{QStringLiteral("request"), qint64(request)}, {QStringLiteral("multiple"), multiple}});
        QStringList files;
        if (const auto answer = waitForAnswer(request, 0))
            for (const QCborValue &f : answer->value(QStringLiteral("paths")).toArray())
                files << f.toString();
        return files;
    };
    m_host->setCallbacks(std::move(c));
    // A page without its renderer shows nothing and runs nothing: the companion
    // starts a fresh helper.
    connect(m_host->page(), &QWebEnginePage::renderProcessTerminated, this,
            [](QWebEnginePage::RenderProcessTerminationStatus status, int code) {
                std::fprintf(stderr, "qx-aiweb: the page's renderer ended (%d, %d)\n", int(status), code);
                QCoreApplication::exit(3);
            });
    QWidget *view = m_host->view();
    // Shown where no screen is until the companion takes it into its window.
    view->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
    view->setGeometry(-20000, -20000, 1000, 660);
    view->show();
    // The toolkit makes the window anew when the page's renderer needs another kind of
    // surface: the companion embeds whichever is current.
    view->installEventFilter(this);
    sendReady();
}

void AiWebHelperServer::sendReady()
{
    QWidget *view = m_host->view();
    if (m_sentWindow == view->winId())
        return;
    m_sentWindow = view->winId();
    // The companion asks the X server about the window as soon as it reads its id: the
    // server has made it by then (one round trip on the toolkit's connection).
    if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        std::free(xcb_get_input_focus_reply(x11->connection(), xcb_get_input_focus(x11->connection()), nullptr));
    send(QStringLiteral("ready"),
         {{QStringLiteral("window"), qint64(m_sentWindow)}, {QStringLiteral("otr"), m_host->isOffTheRecord()}});
}

bool AiWebHelperServer::eventFilter(QObject *watched, QEvent *event)
{
    if (m_host && watched == m_host->view() && (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show))
        QTimer::singleShot(0, this, [this] {
            if (m_host && m_host->view()->internalWinId())
                sendReady();
        });
    return QObject::eventFilter(watched, event);
}

void AiWebHelperServer::command(const QCborMap &m)
{
    const QString kind = m.value(QStringLiteral("k")).toString();
    if (kind == QLatin1String("hello")) {
        hello(m);
        return;
    }
    if (kind == QLatin1String("quit")) {
        QCoreApplication::exit(0);
        return;
    }
    if (kind == QLatin1String("ping")) {
        send(QStringLiteral("pong"), {{QStringLiteral("request"), m.value(QStringLiteral("request"))}});
        return;
    }
    if (kind == QLatin1String("answer")) {
        m_answers.deliver(quint32(m.value(QStringLiteral("request")).toInteger()), m);
        return;
    }
    if (!m_host)
        return;
    const QString text = m.value(QStringLiteral("text")).toString();
    if (kind == QLatin1String("load")) {
        m_host->load(QUrl(text));
    } else if (kind == QLatin1String("run")) {
        m_host->runJavaScript(text);
    } else if (kind == QLatin1String("eval")) {
        const QCborValue request = m.value(QStringLiteral("request"));
        m_host->evaluate(text, [this, request](const QVariant &value) {
            send(QStringLiteral("result"),
                 {{QStringLiteral("request"), request}, {QStringLiteral("value"), QCborValue::fromVariant(value)}});
        });
    } else if (kind == QLatin1String("clear")) {
        m_host->clearAllWebsiteData();
    } else if (kind == QLatin1String("saveInstead")) {
        m_host->downloadInsteadOfShowing(QUrl(text));
    }
}

} // namespace platform::linuxbackend
