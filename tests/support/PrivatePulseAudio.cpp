#include "PrivatePulseAudio.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

ScopedEnv::ScopedEnv(const char *name, const QByteArray &value)
    : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
{
    qputenv(name, value);
}

ScopedEnv::~ScopedEnv()
{
    if (m_had)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}

PrivatePulseAudio::PrivatePulseAudio(const QString &script)
{
    const QString binary = QStandardPaths::findExecutable("pulseaudio");
    if (binary.isEmpty()) {
        m_error = QStringLiteral("pulseaudio is not installed");
        return;
    }
    m_installed = true;
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return;
    }
    const QString runtime = m_dir.filePath("runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_socket = m_dir.filePath("runtime/native");
    QFile config(m_dir.filePath("test.pa"));
    if (!config.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("cannot write the daemon's script");
        return;
    }
    // Anonymous access: the client needs no cookie from a home folder.
    config.write(QStringLiteral("load-module module-native-protocol-unix auth-anonymous=1 socket=%1\n%2\n")
                     .arg(m_socket, script)
                     .toUtf8());
    config.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("HOME", m_dir.path());
    env.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
    env.insert("PULSE_STATE_PATH", m_dir.filePath("state"));
    env.insert("PULSE_RUNTIME_PATH", m_dir.filePath("runtime/pulse"));
    env.remove("DISPLAY"); // no X11 bell or session modules
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    // A test over umockdev preloads it (and a sanitizer runtime) for the application;
    // the sound server and its clients run without (a preloaded ASan hangs them).
    env.remove("LD_PRELOAD");
    m_daemon.setProcessEnvironment(env);
    m_daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // -n: only our script; --system=false works for root as well.
    m_daemon.start(binary, {"-n", "--daemonize=no", "--exit-idle-time=-1", "--system=false", "--disallow-exit",
                            "--use-pid-file=no", "--log-target=stderr", "--log-level=error", "-F", config.fileName()});
    if (!m_daemon.waitForStarted(5000)) {
        m_error = QStringLiteral("pulseaudio does not start");
        return;
    }
    m_server = std::make_unique<ScopedEnv>("PULSE_SERVER", ("unix:" + m_socket).toUtf8());
    // The script has run once the server answers.
    const bool up = QTest::qWaitFor(
        [this] {
            int code = -1;
            client("pactl", {"info"}, &code, 2000);
            return code == 0 || m_daemon.state() == QProcess::NotRunning;
        },
        10000);
    if (!up || m_daemon.state() == QProcess::NotRunning)
        m_error = QStringLiteral("the private PulseAudio daemon did not come up");
}

PrivatePulseAudio::~PrivatePulseAudio()
{
    m_server.reset();
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(2000);
        }
    }
}

QProcessEnvironment PrivatePulseAudio::clientEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULSE_SERVER", "unix:" + m_socket);
    env.remove("LD_PRELOAD");
    return env;
}

QString PrivatePulseAudio::client(const QString &program, const QStringList &args, int *exitCode, int timeoutMs) const
{
    if (exitCode)
        *exitCode = -1;
    const QString binary = QStandardPaths::findExecutable(program);
    if (binary.isEmpty())
        return {};
    QProcess p;
    p.setProcessEnvironment(clientEnvironment());
    p.start(binary, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return {};
    }
    if (exitCode && p.exitStatus() == QProcess::NormalExit)
        *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

std::unique_ptr<QProcess> PrivatePulseAudio::startClient(const QString &program, const QStringList &args) const
{
    auto p = std::make_unique<QProcess>();
    const QString binary = QStandardPaths::findExecutable(program);
    if (binary.isEmpty())
        return p;
    p->setProcessEnvironment(clientEnvironment());
    p->start(binary, args);
    p->waitForStarted(5000);
    return p;
}
