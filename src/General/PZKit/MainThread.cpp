#include "MainThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

bool isMainThread()
{
    if (auto *app = QCoreApplication::instance())
        return QThread::currentThread() == app->thread();
    return true;
}

void postToMainThread(std::function<void()> fn)
{
    auto *app = QCoreApplication::instance();
    if (!app) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

void runOnMainThread(std::function<void()> fn)
{
    if (isMainThread())
        fn();
    else
        postToMainThread(std::move(fn));
}
