#pragma once

#include <QMutex>
#include <QStringList>
#include <QtGlobal>

// The Qt messages (qxInfo, qxWarning ...) logged, from any thread, while it lives; they
// still reach the handler that was there before.
class CapturedMessages {
public:
    CapturedMessages() : m_previous(qInstallMessageHandler(&record)) { current() = this; }
    ~CapturedMessages()
    {
        qInstallMessageHandler(m_previous);
        current() = nullptr;
    }
    CapturedMessages(const CapturedMessages &) = delete;
    CapturedMessages &operator=(const CapturedMessages &) = delete;

    // The lines that contain `part`.
    QStringList with(const QString &part) const
    {
        QMutexLocker lock(&m_mutex);
        return m_lines.filter(part);
    }
    // The warnings and worse, in order.
    QStringList warnings() const
    {
        QMutexLocker lock(&m_mutex);
        return m_warnings;
    }

private:
    static CapturedMessages *&current()
    {
        static CapturedMessages *c = nullptr;
        return c;
    }
    static void record(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        CapturedMessages *self = current();
        if (!self)
            return;
        {
            QMutexLocker lock(&self->m_mutex);
            self->m_lines << message;
            if (type != QtDebugMsg && type != QtInfoMsg)
                self->m_warnings << message;
        }
        if (self->m_previous)
            self->m_previous(type, context, message);
    }

    QtMessageHandler m_previous;
    mutable QMutex m_mutex;
    QStringList m_lines;
    QStringList m_warnings;
};
