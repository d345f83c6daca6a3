// The entry points of the Qt Multimedia module (see MultimediaBackends.h).
#include "QtMicrophone.h"
#include "QtUrlAudioPlayer.h"

extern "C" Q_DECL_EXPORT platform::IMicrophone *qxCreateMicrophone()
{
    return new platform::linuxbackend::QtMicrophone;
}

extern "C" Q_DECL_EXPORT platform::IUrlAudioPlayer *qxCreateUrlAudioPlayer()
{
    return new platform::linuxbackend::QtUrlAudioPlayer;
}
