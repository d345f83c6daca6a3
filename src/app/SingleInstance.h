#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

// One running copy per user. The first instance listens on a local socket; a second
// launch connects, asks the first to show its window, and exits. A socket left behind
// by a crashed instance is removed and the launch goes on normally.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject *parent = nullptr);
    ~SingleInstance() override;

    // true: this process is now the primary instance. false: another instance runs and
    // was asked to reopen its window.
    bool claim();
    void setActivationHandler(std::function<void()> handler) { m_onActivate = std::move(handler); }
    static QString defaultName();

private:
    QString m_name;
    QLocalServer *m_server = nullptr;
    std::function<void()> m_onActivate;
};
