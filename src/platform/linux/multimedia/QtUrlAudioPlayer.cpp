#include "QtUrlAudioPlayer.h"

#include <QAudioOutput>
#include <QDebug>
#include <QMediaPlayer>

namespace platform::linuxbackend {

QtUrlAudioPlayer::QtUrlAudioPlayer() = default;

QtUrlAudioPlayer::~QtUrlAudioPlayer()
{
    delete m_player;
    delete m_output;
}

void QtUrlAudioPlayer::play(const QUrl &url)
{
    if (!m_player) {
        m_output = new QAudioOutput;
        m_player = new QMediaPlayer;
        m_player->setAudioOutput(m_output);
        QObject::connect(
            m_player, &QMediaPlayer::errorOccurred, m_player, [this](QMediaPlayer::Error, const QString &text) {
                qWarning().noquote() << "[audio] cannot play" << m_player->source().toDisplayString() << "-" << text;
            });
    }
    m_player->setSource(url);
    m_player->play();
}

void QtUrlAudioPlayer::pause()
{
    if (m_player)
        m_player->pause();
}

} // namespace platform::linuxbackend
