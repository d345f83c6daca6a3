#pragma once

#include "platform/IUrlAudioPlayer.h"

class QAudioOutput;
class QMediaPlayer;

namespace platform::linuxbackend {

// Qt Multimedia's media player on the default output, made at the first play.
class QtUrlAudioPlayer final : public IUrlAudioPlayer {
public:
    QtUrlAudioPlayer();
    ~QtUrlAudioPlayer() override;

    void play(const QUrl &url) override;
    void pause() override;

private:
    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_output = nullptr;
};

} // namespace platform::linuxbackend
