#pragma once

#include <QUrl>

namespace platform {

// Plays one audio address (a web address or a file) at a time. Main thread only.
class IUrlAudioPlayer {
public:
    virtual ~IUrlAudioPlayer() = default;
    // Replaces whatever played before and starts playing url.
    virtual void play(const QUrl &url) = 0;
    // Pauses the current playback, if any.
    virtual void pause() = 0;
};

} // namespace platform
