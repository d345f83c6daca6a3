#include "SingleInstance.h"

#include "PZLog.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {
constexpr char kReopen[] = "reopen\n";
}

SingleInstance::SingleInstance(QString name, QObject *parent) : QObject(parent), m_name(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName()
{
    return QStringLiteral("quorvex-companion-%1").arg(::getuid());
}

bool SingleInstance::claim()
{
    {
        QLocalSocket probe;
        probe.connectToServer(m_name);
        if (probe.waitForConnected(500)) {
            probe.write(kReopen);
            probe.waitForBytesWritten(500);
            probe.disconnectFromServer();
            qxInfo("app") << "another instance is running; asked it to reopen its window";
            return false;
        }
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // Nobody answered, so the socket is stale: a crashed instance left it.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name)) {
            qxWarning("app") << "cannot listen on" << m_name << m_server->errorString()
                             << "- running without single-instance protection";
            return true;
        }
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
    return true;
}
