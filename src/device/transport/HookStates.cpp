#include "HookStates.h"

HookStates &HookStates::addSeams(const char *name, const DeviceSeams &seams)
{
    const QStringList standIns = seams.standIns();
    for (const char *member : {"keys", "voice", "laserPen", "tips", "speech", "aiWindow", "translate"}) {
        const QString m = QString::fromLatin1(member);
        record(QString::fromLatin1(name) + QLatin1Char('.') + m, !standIns.contains(m));
    }
    return *this;
}

QStringList HookStates::emptyNames() const
{
    QStringList out;
    for (const Hook &h : m_hooks)
        if (!h.connected)
            out << h.name;
    return out;
}

HookStates &HookStates::record(const QString &name, bool connected)
{
    m_hooks.push_back({m_object + QLatin1Char('.') + name, connected});
    return *this;
}
