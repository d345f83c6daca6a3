#pragma once

#include <QtGlobal>

#include <atomic>

// The process-wide instance of a manager. The composition root constructs each manager
// with its dependencies and installs it here; sharedInstance() returns the installed
// one and never builds one. A call while none is installed (before the root ran,
// after it went, in a test that did not install one) is a fault of the caller: it
// stops the process with the class's name rather than building a second, unwired
// instance that would act on nothing.
//
//   QXHidCommandManager &QXHidCommandManager::sharedInstance()
//   {
//       return InstalledInstance<QXHidCommandManager>::get("QXHidCommandManager");
//   }
template <class T> class InstalledInstance {
public:
    static T &get(const char *name)
    {
        T *instance = s_instance.load(std::memory_order_acquire);
        if (!instance)
            qFatal("%s used while none is installed (the composition root installs it)", name);
        return *instance;
    }
    static T *installed() { return s_instance.load(std::memory_order_acquire); }
    // Returns the previous one, which the caller puts back when it is done.
    static T *install(T *instance) { return s_instance.exchange(instance, std::memory_order_acq_rel); }
    // Uninstalls `instance` if it is the installed one (an instance going away).
    static void uninstall(T *instance)
    {
        T *expected = instance;
        s_instance.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
    }

private:
    static inline std::atomic<T *> s_instance{nullptr};
};

// Installs an instance for this object's lifetime and puts the previous one back
// afterwards: the composition root's and a test world's way of installing.
template <class T> class ScopedInstall {
public:
    explicit ScopedInstall(T *instance) : m_previous(InstalledInstance<T>::install(instance)) {}
    ~ScopedInstall() { InstalledInstance<T>::install(m_previous); }
    ScopedInstall(const ScopedInstall &) = delete;
    ScopedInstall &operator=(const ScopedInstall &) = delete;

private:
    T *m_previous;
};
