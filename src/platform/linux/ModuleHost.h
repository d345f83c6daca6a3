#pragma once

class QString;
class Scheduler;

namespace platform::linuxbackend {

// What a module loaded on first use borrows from the program that loads it. A module
// carries no copy of the program's own code: the scheduler its timers go through and
// the program's once-only log reach it here.
struct ModuleHost {
    Scheduler *scheduler = nullptr;
    void (*logOnce)(const QString &key, const QString &message) = nullptr;
};

} // namespace platform::linuxbackend
