#pragma once

#include "InstalledInstance.h"
#include "LocalHttpServer.h"
#include "QXHttpRequestManager.h"
#include "QXNetSceneState.h"
#include "RunUntilIdle.h"

#include <QJsonValue>
#include <QString>

#include <memory>

// What one request delivered to its callback.
struct Delivery {
    int calls = 0;
    bool success = false;
    QJsonValue value;
    QXNetError error;
    bool onMainThread = true;
};

// The network side of a test: a fresh HTTP client installed as the application's, the
// scenes reading the installed application state (as the composition root installs it),
// and a local server that every outside host points at (the maker's bases under
// "/api" and "/api2", the other services under their own paths, the OCR, token and
// web-site hosts at the root), with the network counted as reachable. Everything is put back
// when it goes.
class NetWorld {
public:
    NetWorld();
    ~NetWorld();
    NetWorld(const NetWorld &) = delete;
    NetWorld &operator=(const NetWorld &) = delete;

    QXHttpRequestManager &client() { return m_http; }
    // Every host at another base (a second server, or deadBase()).
    static void pointAt(const QString &base);
    // A base on which nothing listens: the connection is refused.
    static QString deadBase();

    // A callback that counts into d.
    static QXSceneCallback recordInto(const std::shared_ptr<Delivery> &d);
    // Waits for the first delivery, then lets anything queued behind it run (a second
    // call would show).
    static void waitFor(const std::shared_ptr<Delivery> &d, int timeoutMs = 5000);
    // Sends the scene and waits for its callback.
    std::shared_ptr<Delivery> send(std::shared_ptr<QXNetBaseScene> scene, int timeoutMs = 5000);

    static QJsonValue json(const QByteArray &text);

    LocalHttpServer server;

private:
    QXHttpRequestManager m_http;
    ScopedInstall<QXHttpRequestManager> m_installed{&m_http};
    QXAppSceneState m_sceneState;
    ScopedInstall<QXNetSceneState> m_installedSceneState{&m_sceneState};
};
