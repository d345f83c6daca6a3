#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

// In-process notification centre. Observers are called on the main thread, in the
// order they registered. A post from the main thread is delivered before post()
// returns; a post from another thread is queued to the main thread.
// Every subscription names a context QObject; it ends when the context is destroyed,
// so a dead observer is never called.
class NotificationCenter {
public:
    using ObserverId = quint64;
    using Callback = std::function<void(const QVariant &payload)>;

    NotificationCenter();
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter &) = delete;
    NotificationCenter &operator=(const NotificationCenter &) = delete;

    ObserverId addObserver(const QString &name, QObject *context, Callback callback);
    void removeObserver(ObserverId id);
    // Removes every subscription of the context (all names, or one name).
    void removeObserver(QObject *context, const QString &name = {});

    void post(const QString &name, const QVariant &payload = {});

    int observerCount(const QString &name) const;

    // The application's centre, which the composition root constructed and installed
    // (a test program's main installs one for the whole program).
    static NotificationCenter &defaultCenter();
    static NotificationCenter *setSharedInstance(NotificationCenter *center); // returns the previous one

private:
    void deliver(const QString &name, const QVariant &payload);
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Shorthand for the default centre.
inline void postNotification(const QString &name, const QVariant &payload = {})
{
    NotificationCenter::defaultCenter().post(name, payload);
}
