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
