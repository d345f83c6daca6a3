#pragma once

#include "Scheduler.h"

#include <QString>

#include <functional>

// Debounce (trailing) and leading-and-trailing throttle of work.
//
// Calls are grouped by a key. A call site that wants its calls coalesced passes one
// shared key (GroupKey::shared("hid.present")); a call site that wants every call on
// its own (a plain delay) passes GroupKey::unique().
//
// Trailing: the latest work runs once, `seconds` after the last call of the group.
// Leading:  the work runs at the first call; if more calls came, the latest runs once
//           more `seconds` after the last of them.
// The completion runs when the group ends, after the work. The interval is fixed by
// the call that opens a group; 0 or less means 1 second.
// Everything runs on the main thread: calls from other threads are handed over, so
// their work is never lost.
class GroupKey {
public:
    static GroupKey shared(const QString &site) { return GroupKey(QStringLiteral("shared:") + site); }
    static GroupKey unique();
    const QString &text() const { return m_text; }
    bool operator==(const GroupKey &o) const { return m_text == o.m_text; }

private:
    explicit GroupKey(QString text) : m_text(std::move(text)) {}
    QString m_text;
};

void TPRDelayInvocationTrailing(const GroupKey &key, std::function<void()> work, double seconds,
                                std::function<void()> completion = {});
void TPRDelayInvocationLeading(const GroupKey &key, std::function<void()> work, double seconds,
                               std::function<void()> completion = {});

// Number of groups waiting to end (for tests and diagnostics).
int pendingDelayInvocationGroups();
