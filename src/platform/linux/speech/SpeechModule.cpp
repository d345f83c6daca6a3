// The entry point of the text-to-speech module (see QtSpeechSynth.h).
#include "TextToSpeechSynth.h"

extern "C" Q_DECL_EXPORT platform::ISpeechSynth *qxCreateSpeechSynth(const platform::linuxbackend::ModuleHost *host)
{
    return new platform::linuxbackend::TextToSpeechSynth(*host);
}
