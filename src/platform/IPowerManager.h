#pragma once

namespace platform {

// The desktop's power management.
class IPowerManager {
public:
    virtual ~IPowerManager() = default;
    // Asks the system to suspend. The answer comes later (the system may refuse, e.g.
    // by policy); a refusal is logged, nothing is reported back.
    virtual void requestSleep() = 0;
};

} // namespace platform
