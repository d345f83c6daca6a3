#pragma once

#include "platform/IUrlAudioPlayer.h"

#include <QString>

// Plays an answer's audio link after the spoken answer. Main thread only.
class AppAudioTool {
public:
    explicit AppAudioTool(platform::IUrlAudioPlayer &player);
    AppAudioTool(const AppAudioTool &) = delete;
    AppAudioTool &operator=(const AppAudioTool &) = delete;

    // The installed tool (the composition root's); nullptr when none is.
    static AppAudioTool *sharedManager();
    static AppAudioTool *setSharedManager(AppAudioTool *instance);

    // Pauses what plays; then plays the address, unless it is empty or no address.
    void playAudioWithURL(const QString &url);
    void stop();

private:
    platform::IUrlAudioPlayer &m_player;
};
