#include "TPRDelayInvocation.h"

#include "MainThread.h"

#include <QHash>

#include <atomic>
#include <memory>

namespace {

// One pending group of calls.
struct TPRDelayInvocation {
    std::function<void()> invocation;
    std::function<void()> excutedCallback;
    qint64 setInvockeCount = 0;
    double timerInterval = 0; // seconds
    Scheduler::TimerId timer = Scheduler::kNoTimer;
    QString invocationKey;
    Scheduler *scheduler = nullptr;

    void excuteInvocation()
    {
        timer = Scheduler::kNoTimer;
        if (!invocation)
            return;
        if (setInvockeCount >= 2)
            invocation();
        invocation = nullptr;
        if (excutedCallback)
            excutedCallback();
    }
};

// Main thread only.
QHash<QString, std::shared_ptr<TPRDelayInvocation>> &table()
{
    static QHash<QString, std::shared_ptr<TPRDelayInvocation>> t;
    return t;
}

void countCall(const std::shared_ptr<TPRDelayInvocation> &group, std::function<void()> work, bool excuteAtOnce)
{
    group->invocation = std::move(work);
    if (group->setInvockeCount == 0) {
        if (excuteAtOnce)
            group->invocation();
        else
            ++group->setInvockeCount;
    }
    ++group->setInvockeCount;
    Scheduler &s = *group->scheduler;
    cancelTimer(s, group->timer);
    if (group->timerInterval <= 0)
        group->timerInterval = 1.0;
    std::weak_ptr<TPRDelayInvocation> weak = group;
    group->timer = s.singleShot(int(group->timerInterval * 1000.0 + 0.5), [weak] {
        if (auto g = weak.lock())
            g->excuteInvocation();
    });
}

void enter(const GroupKey &key, std::function<void()> work, double seconds, std::function<void()> completion,
           bool leading)
{
    auto &t = table();
    auto it = t.find(key.text());
    if (it != t.end()) {
        countCall(*it, std::move(work), true);
        return;
    }
    auto group = std::make_shared<TPRDelayInvocation>();
    group->scheduler = &Scheduler::instance();
    group->timerInterval = seconds;
    group->invocationKey = key.text();
    // Store before counting: leading work runs synchronously and may call in again.
    t.insert(key.text(), group);
    const QString k = key.text();
    std::weak_ptr<TPRDelayInvocation> weak = group;
    group->excutedCallback = [k, weak, completion = std::move(completion)] {
        auto &tab = table();
        auto cur = tab.find(k);
        if (cur != tab.end() && cur->get() == weak.lock().get())
            tab.erase(cur);
        if (completion)
            completion();
    };
    countCall(group, std::move(work), leading);
}

} // namespace

GroupKey GroupKey::unique()
{
    static std::atomic<quint64> next{1};
    return GroupKey(QStringLiteral("unique:%1").arg(next++));
}

void TPRDelayInvocationTrailing(const GroupKey &key, std::function<void()> work, double seconds,
                                std::function<void()> completion)
{
    runOnMainThread([key, work = std::move(work), seconds, completion = std::move(completion)]() mutable {
        enter(key, std::move(work), seconds, std::move(completion), false);
    });
}

void TPRDelayInvocationLeading(const GroupKey &key, std::function<void()> work, double seconds,
                               std::function<void()> completion)
{
    runOnMainThread([key, work = std::move(work), seconds, completion = std::move(completion)]() mutable {
        enter(key, std::move(work), seconds, std::move(completion), true);
    });
}

int pendingDelayInvocationGroups()
{
    return int(table().size());
}
