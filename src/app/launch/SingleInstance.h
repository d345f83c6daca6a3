#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

// One running copy per user. The copy holding the lock file runs, for the life of its
// process; the lock of a killed copy is stale and taken over. A local socket only carries
// a second launch's request to show the window, so a socket file removed by a /tmp
// cleaner lets no second copy in.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // lockDir: where the lock file lives; empty picks $XDG_RUNTIME_DIR, else the data root.
    explicit SingleInstance(QString name, QString lockDir = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // true: this process is now the primary instance. false: another instance runs and
    // was asked to reopen its window.
    bool claim();
    void setActivationHandler(std::function<void()> handler) { m_onActivate = std::move(handler); }
    static QString defaultName();

private:
    void listen();
    bool askPrimaryToReopen();

    QString m_name;
    QString m_lockDir;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    std::function<void()> m_onActivate;
};
