#include "RemoteAiWebHost.h"

#include "MultimediaBackends.h"
#include "PZLog.h"
#include "X11WindowOwner.h"

#include <QCborArray>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>

#include <unistd.h>
#include <xcb/xcb.h>

namespace platform::linuxbackend {
namespace {

int g_liveHelpers = 0;
// Helpers whose hosts have gone, until they end.
QList<QPointer<QProcess>> g_outgoing;

QString helperProgram()
{
    for (const QString &dir : multimediaModuleDirs(QCoreApplication::applicationDirPath())) {
        const QString path = dir + QStringLiteral("/qx-aiweb");
        if (QFileInfo(path).isExecutable())
            return path;
    }
    return {};
}

// A folder of the user's runtime directory (else of the temporary one) that only the
// user can enter: the socket in it takes no one else's connection.
std::unique_ptr<QTemporaryDir> privateFolder()
{
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QFileInfo(base).isDir())
        base = QDir::tempPath();
    auto dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/quorvex-aiweb-XXXXXX"));
    if (!dir->isValid() || !QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return nullptr;
    return dir;
}

} // namespace

RemoteAiWebHost::RemoteAiWebHost(const AiWebHostOptions &options) : RemoteAiWebHost(options, Launch()) {}

RemoteAiWebHost::RemoteAiWebHost(const AiWebHostOptions &options, Launch launch) : m_launch(std::move(launch))
{
    m_view = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(m_view.get());
    layout->setContentsMargins(0, 0, 0, 0);
    m_startTimer.setSingleShot(true);
    connect(&m_startTimer, &QTimer::timeout, this, [this] { lose(QStringLiteral("did not start in time")); });
    connect(&m_pingTimer, &QTimer::timeout, this, [this] {
        if (m_pingOutstanding && m_pingSent.elapsed() > m_launch.answerTimeoutMs) {
            lose(QStringLiteral("stopped answering"));
            return;
        }
        if (!m_pingOutstanding) {
            m_pingOutstanding = m_nextRequest++;
            m_pingSent.start();
            send(QStringLiteral("ping"), {{QStringLiteral("request"), qint64(*m_pingOutstanding)}});
        }
    });
    start(options);
}

void RemoteAiWebHost::start(const AiWebHostOptions &options)
{
    QCborArray names;
    for (const QString &n : options.messageHandlerNames)
        names.append(n);
    send(QStringLiteral("hello"), {{QStringLiteral("profile"), options.profileName},
                                   {QStringLiteral("storage"), options.storagePath},
                                   {QStringLiteral("agent"), options.userAgent},
                                   {QStringLiteral("names"), names}});
    const QString program = m_launch.program.isEmpty() ? helperProgram() : m_launch.program;
    m_dir = privateFolder();
    if (program.isEmpty() || !m_dir) {
        // Said at once, but after the owner had the chance to listen.
        QTimer::singleShot(0, this, [this, program] {
            lose(program.isEmpty() ? QStringLiteral("qx-aiweb is not installed")
                                   : QStringLiteral("no private folder for its socket"));
        });
        return;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString socketPath = m_dir->filePath(QStringLiteral("link"));
    if (!m_server->listen(socketPath)) {
        QTimer::singleShot(0, this, [this] { lose(QStringLiteral("cannot listen: ") + m_server->errorString()); });
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, &RemoteAiWebHost::newConnection);

    QProcessEnvironment env = m_launch.environment;
    // Chromium refuses to start its sandbox as root; a normal user keeps it.
    if (::geteuid() == 0 && env.value(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX")) != QLatin1String("1")) {
        env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        qxLogOnce(QStringLiteral("webengine:root"),
                  QStringLiteral("running as root: the web engine's sandbox is turned off"));
    }
    m_process = new QProcess;
    m_process->setProcessEnvironment(env);
    m_process->setProcessChannelMode(QProcess::ForwardedChannels);
    ++g_liveHelpers;
    QProcess *process = m_process;
    // The count and the object outlive this host while the helper ends.
    connect(process, &QProcess::finished, process, [process] {
        --g_liveHelpers;
        process->deleteLater();
    });
    connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            --g_liveHelpers;
            process->deleteLater();
        }
    });
    connect(process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        lose(status == QProcess::CrashExit ? QStringLiteral("crashed") : QStringLiteral("ended (%1)").arg(code));
    });
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            lose(QStringLiteral("failed to start: ") + m_process->errorString());
    });
    m_process->start(program, {socketPath});
    m_startTimer.start(m_launch.startTimeoutMs);
}

RemoteAiWebHost::~RemoteAiWebHost()
{
    m_pingTimer.stop();
    m_startTimer.stop();
    // Keeps the page's window off the screen while the helper is on its way out.
    releaseEmbedded();
    // The page's chooser goes with the page, which hears it was cancelled.
    if (const quint32 request = m_chooserRequest; closeChooser())
        answerChooser(request, {});
    if (m_socket && !m_lost) {
        m_socket->write(aiwebwire::frame(QStringLiteral("quit")));
        m_socket->flush();
    }
    for (auto &[id, result] : std::exchange(m_evaluations, {}))
        result({});
    if (m_process) {
        // The helper writes its profile out as it quits: given time, then ended.
        disconnect(m_process, nullptr, this, nullptr);
        if (m_process->state() != QProcess::NotRunning) {
            QProcess *process = m_process;
            QTimer::singleShot(5000, process, [process] { process->kill(); });
            g_outgoing.removeAll(nullptr);
            g_outgoing << process;
        }
    }
    m_view.reset();
}

int RemoteAiWebHost::liveHelpers()
{
    return g_liveHelpers;
}

void RemoteAiWebHost::endHelpers(int graceMs)
{
    QElapsedTimer waited;
    waited.start();
    for (const QPointer<QProcess> &process : std::exchange(g_outgoing, {})) {
        if (!process)
            continue;
        if (!process->waitForFinished(int(qMax<qint64>(0, graceMs - waited.elapsed())))) {
            process->kill();
            process->waitForFinished(1000);
        }
        // Its own deleteLater would wait for an event loop that no longer runs.
        delete process.data();
    }
}

qint64 RemoteAiWebHost::helperPid() const
{
    return m_process && !m_lost ? m_process->processId() : 0;
}

void RemoteAiWebHost::newConnection()
{
    QLocalSocket *socket = m_server->nextPendingConnection();
    if (!socket)
        return;
    if (m_socket) {
        // One helper, one link.
        socket->deleteLater();
        return;
    }
    m_socket = socket;
    m_socket->setParent(this);
    m_server->close();
    connect(m_socket, &QLocalSocket::readyRead, this, &RemoteAiWebHost::readEvents);
    connect(m_socket, &QLocalSocket::disconnected, this, [this] { lose(QStringLiteral("closed the link")); });
    for (const QByteArray &bytes : std::exchange(m_unsent, {}))
        m_socket->write(bytes);
}

void RemoteAiWebHost::send(const QString &kind, QCborMap fields)
{
    if (m_lost)
        return;
    const QByteArray bytes = aiwebwire::frame(kind, std::move(fields));
    if (m_socket)
        m_socket->write(bytes);
    else
        m_unsent << bytes;
}

void RemoteAiWebHost::readEvents()
{
    m_reader.append(m_socket->readAll());
    // The owner's callbacks may drop this host (the window closed on a load's end, a
    // result's receiver gone): nothing of it is touched after that.
    const QPointer<RemoteAiWebHost> alive(this);
    while (!m_lost) {
        const auto payload = m_reader.next();
        if (!payload)
            break;
        const auto event = aiwebwire::parseHelperEvent(*payload);
        if (!event) {
            lose(QStringLiteral("sent a message that is not one"));
            return;
        }
        handle(*event);
        if (!alive)
            return;
    }
    if (m_reader.failed())
        lose(QStringLiteral("sent a frame too long"));
}

void RemoteAiWebHost::handle(const aiwebwire::HelperEvent &e)
{
    using Kind = aiwebwire::HelperEvent::Kind;
    switch (e.kind) {
    case Kind::Ready:
        m_offTheRecord = e.offTheRecord;
        if (embed(e.windowId) && !m_lost) {
            m_startTimer.stop();
            if (!m_pingTimer.isActive())
                m_pingTimer.start(m_launch.pingIntervalMs);
        }
        break;
    case Kind::Loading:
        m_url = e.url;
        if (m_callbacks.loadingChanged)
            m_callbacks.loadingChanged(e.status, e.url, e.errorCode, e.text);
        break;
    case Kind::Shown:
        if (m_callbacks.mainFrameShown)
            m_callbacks.mainFrameShown(e.url, e.text);
        break;
    case Kind::ScriptMessage:
        if (m_callbacks.scriptMessage)
            m_callbacks.scriptMessage(e.text, e.json);
        break;
    case Kind::Download: {
        const QString path = m_callbacks.downloadDestination ? m_callbacks.downloadDestination(e.download) : QString();
        send(QStringLiteral("answer"),
             {{QStringLiteral("request"), qint64(e.download.id)}, {QStringLiteral("path"), path}});
        break;
    }
    case Kind::DownloadChanged:
        if (m_callbacks.downloadChanged)
            m_callbacks.downloadChanged(e.update);
        break;
    case Kind::NewWindow:
        if (m_callbacks.newWindowRequested)
            m_callbacks.newWindowRequested(e.url, e.userGesture);
        break;
    case Kind::ChooseFiles:
        answerFiles(e.request, e.multiple);
        break;
    case Kind::Result: {
        const auto it = m_evaluations.find(e.request);
        if (it == m_evaluations.end())
            break;
        auto result = std::move(it->second);
        m_evaluations.erase(it);
        result(e.value);
        break;
    }
    case Kind::Pong:
        if (m_pingOutstanding == e.request)
            m_pingOutstanding.reset();
        break;
    }
}

xcb_connection_t *RemoteAiWebHost::x11()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

bool RemoteAiWebHost::embed(quint64 windowId)
{
    xcb_connection_t *c = x11();
    if (!c) {
        lose(QStringLiteral("has no X server to show its page on"));
        return false;
    }
    // A window its toolkit has already made anew is gone by now: the helper names the
    // new one, and one that never names a window there is lost when its start time is up.
    if (!windowExists(c, quint32(windowId)))
        return false;
    // The id comes from a process that runs pages from the web: only a window the helper
    // made itself is taken into ours.
    if (const auto why = windowNotOwnedBy(c, quint32(windowId), m_process ? m_process->processId() : 0)) {
        lose(QStringLiteral("named a window that ") + *why);
        return false;
    }
    // The helper's window becomes a child of a native widget here and follows its size;
    // done with the X server directly, which needs nothing of the other process's Qt.
    // The helper names its window again whenever its toolkit makes it anew.
    if (!m_container) {
        m_container = new QWidget(m_view.get());
        m_container->setAttribute(Qt::WA_NativeWindow);
        m_container->setAttribute(Qt::WA_DontCreateNativeAncestors);
        m_container->setFocusPolicy(Qt::StrongFocus);
        m_container->installEventFilter(this);
        m_view->setFocusProxy(m_container);
        m_view->layout()->addWidget(m_container);
    }
    m_embedded = quint32(windowId);
    xcb_reparent_window(c, m_embedded, xcb_window_t(m_container->winId()), 0, 0);
    fitEmbedded();
    xcb_map_window(c, m_embedded);
    xcb_flush(c);
    return true;
}

void RemoteAiWebHost::fitEmbedded()
{
    xcb_connection_t *c = x11();
    if (!c || !m_embedded || !m_container)
        return;
    const QSize size = m_container->size() * m_container->devicePixelRatio();
    const quint32 values[] = {0, 0, quint32(qMax(1, size.width())), quint32(qMax(1, size.height()))};
    xcb_configure_window(c, m_embedded,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    xcb_flush(c);
}

void RemoteAiWebHost::releaseEmbedded()
{
    xcb_connection_t *c = x11();
    if (!c || !m_embedded)
        return;
    // Out of our window before it goes, or the X server would destroy the helper's with
    // it while the helper still draws into it.
    xcb_unmap_window(c, m_embedded);
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (screen)
        xcb_reparent_window(c, m_embedded, screen->root, -20000, -20000);
    xcb_flush(c);
    m_embedded = 0;
}

bool RemoteAiWebHost::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_container && m_embedded) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            fitEmbedded();
        else if (event->type() == QEvent::FocusIn && !m_lost) {
            // The page takes the keyboard when the window gives its view the focus.
            if (xcb_connection_t *c = x11()) {
                xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, m_embedded, XCB_CURRENT_TIME);
                xcb_flush(c);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void RemoteAiWebHost::answerFiles(quint32 request, bool multiple)
{
    if (m_lost)
        return;
    // One chooser at a time: a helper that asks while one is open gets none, rather
    // than a pile of dialogs.
    if (m_chooser) {
        answerChooser(request, {});
        return;
    }
    if (m_callbacks.chooseFiles) {
        answerChooser(request, m_callbacks.chooseFiles(multiple));
        return;
    }
    // Opened without an event loop of its own, and a child of the view: the host can go
    // (its helper lost, the window closed) at any time while it is open, and takes it.
    auto *dialog = new QFileDialog(m_view.get());
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_chooser = dialog;
    m_chooserRequest = request;
    connect(dialog, &QDialog::finished, this, [this, dialog, request](int result) {
        if (m_chooser != dialog)
            return;
        m_chooser = nullptr;
        answerChooser(request, result == QDialog::Accepted ? dialog->selectedFiles() : QStringList());
    });
    dialog->open();
}

void RemoteAiWebHost::answerChooser(quint32 request, const QStringList &files)
{
    send(QStringLiteral("answer"),
         {{QStringLiteral("request"), qint64(request)}, {QStringLiteral("paths"), QCborArray::fromStringList(files)}});
}

bool RemoteAiWebHost::closeChooser()
{
    QFileDialog *dialog = std::exchange(m_chooser, nullptr);
    if (!dialog)
        return false;
    disconnect(dialog, nullptr, this, nullptr);
    delete dialog;
    return true;
}

void RemoteAiWebHost::lose(const QString &why)
{
    if (m_lost)
        return;
    m_lost = true;
    // The helper's windows go with its process, which ends here if it has not; the
    // page's chooser has no one left to answer.
    m_embedded = 0;
    closeChooser();
    m_pingTimer.stop();
    m_startTimer.stop();
    if (m_process && m_process->state() != QProcess::NotRunning)
        m_process->kill();
    for (auto &[id, result] : std::exchange(m_evaluations, {}))
        result({});
    if (m_callbacks.lost)
        m_callbacks.lost(QStringLiteral("the AI page's helper ") + why);
}

QWidget *RemoteAiWebHost::view()
{
    return m_view.get();
}

void RemoteAiWebHost::setCallbacks(Callbacks callbacks)
{
    m_callbacks = std::move(callbacks);
}

void RemoteAiWebHost::load(const QUrl &url)
{
    m_url = url;
    send(QStringLiteral("load"), {{QStringLiteral("text"), url.toString(QUrl::FullyEncoded)}});
}

QUrl RemoteAiWebHost::url() const
{
    return m_url;
}

void RemoteAiWebHost::runJavaScript(const QString &script)
{
    send(QStringLiteral("run"), {{QStringLiteral("text"), script}});
}

void RemoteAiWebHost::evaluate(const QString &script, std::function<void(const QVariant &)> result)
{
    if (m_lost) {
        result({});
        return;
    }
    const quint32 request = m_nextRequest++;
    m_evaluations[request] = std::move(result);
    send(QStringLiteral("eval"), {{QStringLiteral("request"), qint64(request)}, {QStringLiteral("text"), script}});
}

void RemoteAiWebHost::downloadInsteadOfShowing(const QUrl &url)
{
    send(QStringLiteral("saveInstead"), {{QStringLiteral("text"), url.toString(QUrl::FullyEncoded)}});
}

bool RemoteAiWebHost::isOffTheRecord() const
{
    return m_offTheRecord;
}

void RemoteAiWebHost::clearAllWebsiteData()
{
    send(QStringLiteral("clear"));
}

std::unique_ptr<IAiWebHost> createRemoteAiWebHost(const AiWebHostOptions &options)
{
    return std::make_unique<RemoteAiWebHost>(options);
}

} // namespace platform::linuxbackend
