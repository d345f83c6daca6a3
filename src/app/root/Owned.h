#pragma once

#include "InstalledInstance.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>

// One manager an assembly built: owned, and installed as the process-wide instance
// for as long as it lives there (what was installed before comes back with it).
template <class T> class Owned {
public:
    T &install(std::unique_ptr<T> made)
    {
        m_object = std::move(made);
        m_installed.emplace(m_object.get());
        return *m_object;
    }
    T *get() const { return m_object.get(); }
    T *operator->() const { return m_object.get(); }
    T &operator*() const { return *m_object; }
    explicit operator bool() const { return bool(m_object); }

private:
    std::unique_ptr<T> m_object;
    std::optional<ScopedInstall<T>> m_installed; // goes first: uninstalled, then destroyed
};

// A step of the teardown at its place among an assembly's members: what it holds
// runs when the members declared after it are gone and before those declared
// before it go (undoing a hook or a process-wide rule the members between set).
class AtTeardown {
public:
    AtTeardown() = default;
    AtTeardown(const AtTeardown &) = delete;
    AtTeardown &operator=(const AtTeardown &) = delete;
    ~AtTeardown()
    {
        if (m_step)
            m_step();
    }
    void set(std::function<void()> step) { m_step = std::move(step); }

private:
    std::function<void()> m_step;
};
