#include "NotificationCenter.h"

#include "InstalledInstance.h"
#include "MainThread.h"

#include <QHash>
#include <QPointer>
#include <QVector>

struct NotificationCenter::Impl {
    struct Entry {
        ObserverId id;
        QString name;
        QPointer<QObject> context;
        bool hadContext;
        std::shared_ptr<Callback> callback;
    };
    QVector<Entry> entries; // registration order; main thread only
    ObserverId nextId = 1;
    // Guards helpers that connect to destroyed() once per context.
    QHash<QObject *, QMetaObject::Connection> watched;
};

NotificationCenter::NotificationCenter() : d(std::make_unique<Impl>()) {}

NotificationCenter::~NotificationCenter()
{
    for (const auto &c : std::as_const(d->watched))
        QObject::disconnect(c);
}

NotificationCenter::ObserverId NotificationCenter::addObserver(const QString &name, QObject *context, Callback callback)
{
    const ObserverId id = d->nextId++;
    d->entries.push_back({id, name, context, context != nullptr, std::make_shared<Callback>(std::move(callback))});
    if (context && !d->watched.contains(context)) {
        d->watched.insert(context, QObject::connect(context, &QObject::destroyed, [this, context] {
                              d->watched.remove(context);
                              removeObserver(context);
                          }));
    }
    return id;
}

void NotificationCenter::removeObserver(ObserverId id)
{
    d->entries.removeIf([id](const Impl::Entry &e) { return e.id == id; });
}

void NotificationCenter::removeObserver(QObject *context, const QString &name)
{
    d->entries.removeIf([&](const Impl::Entry &e) {
        return e.hadContext && (e.context == context || e.context.isNull()) && (name.isEmpty() || e.name == name);
    });
}

int NotificationCenter::observerCount(const QString &name) const
{
    int n = 0;
    for (const auto &e : d->entries)
        if (e.name == name && (!e.hadContext || e.context))
            ++n;
    return n;
}

void NotificationCenter::post(const QString &name, const QVariant &payload)
{
    if (isMainThread()) {
        deliver(name, payload);
        return;
    }
    postToMainThread([this, name, payload] { deliver(name, payload); });
}

void NotificationCenter::deliver(const QString &name, const QVariant &payload)
{
    // Snapshot first: observers may add or remove subscriptions while being called.
    QVector<ObserverId> ids;
    for (const auto &e : std::as_const(d->entries))
        if (e.name == name)
            ids.push_back(e.id);
    for (ObserverId id : ids) {
        std::shared_ptr<Callback> cb;
        for (const auto &e : std::as_const(d->entries)) {
            if (e.id == id) {
                if (!e.hadContext || e.context)
                    cb = e.callback;
                break;
            }
        }
        if (cb && *cb)
            (*cb)(payload);
    }
}

NotificationCenter &NotificationCenter::defaultCenter()
{
    return InstalledInstance<NotificationCenter>::get("NotificationCenter");
}

NotificationCenter *NotificationCenter::setSharedInstance(NotificationCenter *center)
{
    return InstalledInstance<NotificationCenter>::install(center);
}
