#include "NotificationRecorder.h"

#include "NotificationNames.h"

NotificationRecorder::NotificationRecorder(NotificationCenter &center)
{
    QStringList all;
    for (const char *n : qx::notify::kAllNames)
        all << QString::fromLatin1(n);
    listen(all, center);
}

NotificationRecorder::NotificationRecorder(const QStringList &names, NotificationCenter &center)
{
    listen(names, center);
}

void NotificationRecorder::listen(const QStringList &names, NotificationCenter &center)
{
    for (const QString &name : names)
        center.addObserver(name, this, [this, name](const QVariant &payload) {
            m_names << name;
            m_payloads << payload;
        });
}

QStringList NotificationRecorder::firmwareEnds() const
{
    QStringList out;
    for (const QString &n : m_names)
        if (n == qx::notify::kUpdateOTASuccessNotification || n == qx::notify::kUpdateOTAFailNotification
            || n == qx::notify::kUpdateOTACancelNotification)
            out << n;
    return out;
}

QList<int> NotificationRecorder::firmwareProgress() const
{
    QList<int> out;
    for (qsizetype i = 0; i < m_names.size(); ++i)
        if (m_names[i] == qx::notify::kUpdateOTAProgressNotification)
            out << m_payloads[i].toInt();
    return out;
}
