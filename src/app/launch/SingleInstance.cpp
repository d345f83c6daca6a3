#include "SingleInstance.h"

#include "DataPaths.h"
#include "PZLog.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#include <unistd.h>

namespace {
constexpr char kReopen[] = "reopen\n";
// A primary that has just taken the lock needs a moment before it listens.
constexpr int kAnswerWaitMs = 3000;

QString runtimeDir()
{
    const QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo info(dir);
    return !dir.isEmpty() && info.isDir() && info.isWritable() ? dir : QString();
}
} // namespace

SingleInstance::SingleInstance(QString name, QString lockDir, QObject *parent)
    : QObject(parent), m_name(std::move(name)), m_lockDir(std::move(lockDir))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName()
{
    return QStringLiteral("quorvex-companion-%1").arg(::getuid());
}

bool SingleInstance::claim()
{
    QStringList dirs;
    if (!m_lockDir.isEmpty())
        dirs << m_lockDir;
    else if (const QString runtime = runtimeDir(); !runtime.isEmpty())
        dirs << runtime;
    dirs << DataPaths::dataRoot();

    for (const QString &dir : dirs) {
        DataPaths::ensureDir(dir);
        m_lock = std::make_unique<QLockFile>(dir + u'/' + m_name + QStringLiteral(".lock"));
        // Stale only when its process is gone, however long a copy has been running.
        m_lock->setStaleLockTime(0);
        if (m_lock->tryLock(0)) {
            listen();
            return true;
        }
        if (m_lock->error() == QLockFile::LockFailedError)
            break;
    }
    if (m_lock->error() != QLockFile::LockFailedError) {
        qxWarning("app") << "cannot create the lock file" << QFileInfo(m_lock->fileName()).absoluteFilePath()
                         << "- running without single-instance protection";
        m_lock.reset();
        listen();
        return true;
    }
    return !askPrimaryToReopen();
}

// true once the primary got the request; false when the lock came free meanwhile and
// this process took it.
bool SingleInstance::askPrimaryToReopen()
{
    qint64 pid = 0;
    QString host;
    QString app;
    m_lock->getLockInfo(&pid, &host, &app);
    const QDeadlineTimer deadline(kAnswerWaitMs);
    for (;;) {
        QLocalSocket probe;
        probe.connectToServer(m_name);
        if (probe.waitForConnected(200)) {
            probe.write(kReopen);
            probe.waitForBytesWritten(500);
            probe.disconnectFromServer();
            qxInfo("app") << "another instance (pid" << pid << ") is running; asked it to reopen its window";
            return true;
        }
        // The primary may have quit meanwhile.
        if (m_lock->tryLock(0)) {
            listen();
            return false;
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(50);
    }
    qxInfo("app") << "another instance (pid" << pid << ") is running but does not answer on" << m_name
                  << "- its window cannot be reopened from here";
    return true;
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Whatever socket is there belongs to no running copy: this one holds the lock.
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name)) {
        qxWarning("app") << "cannot listen on" << m_name << m_server->errorString()
                         << "- a second launch cannot ask this one to show its window";
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, s, [this, s] {
                if (s->readAll().contains("reopen") && m_onActivate)
                    m_onActivate();
            });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}
