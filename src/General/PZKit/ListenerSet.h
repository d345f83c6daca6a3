#pragma once

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

// What lets a ListenerSet hold an object weakly: the set keeps a weak reference to this
// token, so a listener destroyed without removing itself is skipped, never called.
// Copies get a token of their own (a copy is a different listener).
class ListenerLifetime {
public:
    ListenerLifetime() = default;
    ListenerLifetime(const ListenerLifetime &) : ListenerLifetime() {}
    ListenerLifetime &operator=(const ListenerLifetime &) { return *this; }

    std::weak_ptr<const void> lifetimeToken() const { return m_token; }

private:
    std::shared_ptr<const char> m_token = std::make_shared<const char>('\0');
};

// Listeners held weakly, called in the order they were added, each at most once per
// call. A call works on a copy of the members taken when it starts, so a listener may
// add or remove listeners (itself included) from inside the call without changing who
// is called in that round. Adding and removing may happen on any thread; calls belong to
// the owner's thread.
template <class T> class ListenerSet {
public:
    // Adding a member twice keeps one.
    void add(T *listener)
    {
        if (!listener)
            return;
        std::lock_guard lock(m_mutex);
        prune();
        if (!contains(listener))
            m_members.push_back({listener, listener->lifetimeToken()});
    }
    void remove(T *listener)
    {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_members, [listener](const Member &m) { return m.listener == listener; });
    }
    int size() const
    {
        std::lock_guard lock(m_mutex);
        return int(
            std::count_if(m_members.begin(), m_members.end(), [](const Member &m) { return !m.token.expired(); }));
    }

    // Calls (listener->*method)(args...) on every live member.
    template <class... Params, class... Args> void forEach(void (T::*method)(Params...), const Args &...args) const
    {
        std::vector<Member> round;
        {
            std::lock_guard lock(m_mutex);
            round = m_members;
        }
        for (const Member &m : round)
            if (const auto alive = m.token.lock())
                (m.listener->*method)(args...);
    }

private:
    struct Member {
        T *listener;
        std::weak_ptr<const void> token;
    };
    bool contains(T *listener) const
    {
        return std::any_of(m_members.begin(), m_members.end(),
                           [listener](const Member &m) { return m.listener == listener; });
    }
    // A destroyed listener's address may be reused by a new one.
    void prune()
    {
        std::erase_if(m_members, [](const Member &m) { return m.token.expired(); });
    }

    mutable std::mutex m_mutex;
    std::vector<Member> m_members;
};
