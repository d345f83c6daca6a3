#pragma once

#include "platform/IKeyPoster.h"

#include <mutex>

typedef struct _XDisplay Display;

namespace platform::linuxbackend {

// Posts key strokes through the XTest extension on a connection of its own, so the
// X server delivers them to the focused window of any client, exactly like typed keys.
class XTestKeyPoster final : public IKeyPoster {
public:
    XTestKeyPoster();
    ~XTestKeyPoster() override;

    bool isAvailable() const override; // the first call opens the connection
    bool postKeyStroke(int macKeyCode, quint64 macFlags) override;

private:
    Display *display() const;

    mutable Display *m_display = nullptr;
    mutable bool m_probed = false;
    mutable std::mutex m_mutex; // any thread may post; one Xlib connection
};

} // namespace platform::linuxbackend
