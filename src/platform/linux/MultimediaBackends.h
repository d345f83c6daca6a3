#pragma once

#include "platform/IMicrophone.h"
#include "platform/IUrlAudioPlayer.h"

#include <QStringList>

#include <memory>

namespace platform::linuxbackend {

// The microphone and the URL player are Qt Multimedia's, which lives in a module of
// its own (libqx_multimedia.so beside the executable, or in the installed library
// folder) loaded on the first open() or play(): linked, Qt Multimedia and the sound
// server's client library keep about 1.5 MB resident in a process that mostly never
// records or plays. Without the module both answer "not available", logged once.
std::unique_ptr<IMicrophone> createMicrophone();
// Where the module is looked for, first to last, for a program in `programDir`: beside
// it (the build), the library folder relative to it (an install under any prefix), the
// configured prefix's library folder, the build folder.
QStringList multimediaModuleDirs(const QString &programDir);
std::unique_ptr<IUrlAudioPlayer> createUrlAudioPlayer();

} // namespace platform::linuxbackend
