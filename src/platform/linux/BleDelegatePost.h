#pragma once

#include "platform/IBleCentral.h"

#include <QMetaObject>
#include <QObject>

#include <functional>

namespace platform::linuxbackend {

// Hands an event to a central's delegate from the event loop, never from inside the
// request: the delegate set by then gets it (none if there is none), and nothing runs
// once `central` is gone.
inline void postToDelegate(QObject *central, IBleCentralDelegate *const *delegate,
                           std::function<void(IBleCentralDelegate &)> event)
{
    QMetaObject::invokeMethod(
        central,
        [delegate, event = std::move(event)] {
            if (*delegate)
                event(**delegate);
        },
        Qt::QueuedConnection);
}

} // namespace platform::linuxbackend
