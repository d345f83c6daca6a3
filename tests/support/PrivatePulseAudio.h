#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QByteArray &value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

// A PulseAudio daemon of the test's own: a temporary runtime folder and socket, only
// the modules of its script, no session, X11 or D-Bus modules. Works as root too
// (user mode, not the system daemon). While it runs, PULSE_SERVER points this process
// at it.
class PrivatePulseAudio {
public:
    // Starts the daemon; `script` holds more lines of its start-up script (modules,
    // defaults). Returns once the server answers, or with error() set.
    explicit PrivatePulseAudio(const QString &script = {});
    ~PrivatePulseAudio();

    // Empty when the daemon runs; "pulseaudio is not installed" means skip.
    QString error() const { return m_error; }
    bool installed() const { return m_installed; }

    // Runs a client program of the PulseAudio utilities against the daemon and returns
    // its trimmed standard output (empty when the program is missing).
    QString client(const QString &program, const QStringList &args, int *exitCode = nullptr,
                   int timeoutMs = 5000) const;
    QString pactl(const QStringList &args, int *exitCode = nullptr) const { return client("pactl", args, exitCode); }
    // Starts a client program in the background (paplay of a long tone).
    std::unique_ptr<QProcess> startClient(const QString &program, const QStringList &args) const;
    QString dir() const { return m_dir.path(); }

private:
    QProcessEnvironment clientEnvironment() const;

    QTemporaryDir m_dir;
    QString m_socket;
    QProcess m_daemon;
    std::unique_ptr<ScopedEnv> m_server;
    QString m_error;
    bool m_installed = false;
};
