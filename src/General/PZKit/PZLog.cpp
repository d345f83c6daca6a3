#include "PZLog.h"

#include <QMutex>
#include <QSet>

namespace {
QMutex g_mutex;
QSet<QString> g_onceKeys;
std::function<void(const QString &)> g_handler;
} // namespace

void qxLogOnce(const QString &key, const QString &message)
{
    {
        QMutexLocker lock(&g_mutex);
        if (g_onceKeys.contains(key))
            return;
        g_onceKeys.insert(key);
    }
    qWarning().noquote() << message;
}

bool qxLoggedOnce(const QString &key)
{
    QMutexLocker lock(&g_mutex);
    return g_onceKeys.contains(key);
}

void writeLog(const QString &message)
{
    std::function<void(const QString &)> handler;
    {
        QMutexLocker lock(&g_mutex);
        handler = g_handler;
    }
    if (handler)
        handler(message);
    else
        qInfo().noquote() << message;
}

void setWriteLogHandler(std::function<void(const QString &)> handler)
{
    QMutexLocker lock(&g_mutex);
    g_handler = std::move(handler);
}
