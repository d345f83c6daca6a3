#pragma once

#include "NotificationCenter.h"

#include <QObject>
#include <QStringList>
#include <QVariantList>

// Records the notifications posted to a centre, in order, for the names it listens to
// (all known application names by default).
class NotificationRecorder : public QObject {
public:
    explicit NotificationRecorder(NotificationCenter &center = NotificationCenter::defaultCenter());
    NotificationRecorder(const QStringList &names, NotificationCenter &center = NotificationCenter::defaultCenter());

    QStringList names() const { return m_names; }
    QVariantList payloads() const { return m_payloads; }
    int count(const QString &name) const { return int(m_names.count(name)); }
    // The firmware transfer's end notifications (success, failure, cancel), in order.
    QStringList firmwareEnds() const;
    // The payloads of its progress notifications, in order.
    QList<int> firmwareProgress() const;
    void clear()
    {
        m_names.clear();
        m_payloads.clear();
    }

private:
    void listen(const QStringList &names, NotificationCenter &center);
    QStringList m_names;
    QVariantList m_payloads;
};
