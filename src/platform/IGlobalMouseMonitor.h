#pragma once

#include "MouseEvent.h"

#include <functional>

namespace platform {

// Observes mouse events of the whole desktop, those that go to other applications.
// Observing only: events are never swallowed or changed. Handlers run on the main
// thread.
class IGlobalMouseMonitor {
public:
    using Handler = std::function<void(const MouseEvent &)>;
    using Token = quint64;
    static constexpr Token kNoToken = 0;

    virtual ~IGlobalMouseMonitor() = default;

    virtual bool isAvailable() const = 0;
    // Calls handler for every event whose type is in mask (OR of maskOf()). Returns
    // kNoToken, with a log line, when the session cannot be observed.
    virtual Token add(quint64 mask, Handler handler) = 0;
    // Unknown or already removed tokens are ignored.
    virtual void remove(Token token) = 0;
    // While inactive the handlers stay registered but nothing is observed (and nothing
    // held open for it); active again, they are called as before. Active to begin with.
    virtual void setActive(bool active) { (void)active; }
};

} // namespace platform
