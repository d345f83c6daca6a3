#pragma once

#include "ModuleHost.h"

#include <QList>
#include <QString>

#include <initializer_list>

namespace platform::linuxbackend {

// Loads one of our modules (a file such as "libqx_speech.so") from the first folder of
// multimediaModuleDirs() that holds it with every one of `symbols`, and answers their
// addresses in that order; a module is never unloaded. Empty when no folder has it,
// with the reasons in `error`. Main thread.
QList<QFunctionPointer> loadModule(const QString &fileName, std::initializer_list<const char *> symbols,
                                   QString *error);

// The program's side of a module: its scheduler and its once-only log.
ModuleHost moduleHost(Scheduler &scheduler);

} // namespace platform::linuxbackend
