#pragma once

#include "services/DeviceSeams.h"

#include <QString>
#include <QStringList>

#include <vector>

// The hooks the objects of the device layers hold toward the rest of the application
// (sinks, services, handlers, seams, Deps members), each by name with whether
// something is connected. An empty hook logs once and drops the call, so a connection
// the composition root forgets passes every unit test that fills it with a fake; the
// root's whole graph is held to these lists instead.
class HookStates {
public:
    struct Hook {
        QString name; // "<object>.<hook>", e.g. "HIDDevice.sinks.readDeviceInfo"
        bool connected;
    };

    // Hooks added next belong to this object.
    HookStates &in(const QString &object)
    {
        m_object = object;
        return *this;
    }
    // A function or pointer hook: connected when it converts to true.
    template <class T> HookStates &add(const char *name, const T &hook)
    {
        return record(QString::fromLatin1(name), static_cast<bool>(hook));
    }
    // Seams of the higher layers: one hook per member, a stand-in counting as empty.
    HookStates &addSeams(const char *name, const DeviceSeams &seams);

    const std::vector<Hook> &hooks() const { return m_hooks; }
    QStringList emptyNames() const;

private:
    HookStates &record(const QString &name, bool connected);

    QString m_object;
    std::vector<Hook> m_hooks;
};
