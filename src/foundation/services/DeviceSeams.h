#pragma once

#include "IAIWindow.h"
#include "ILaserPen.h"
#include "IPopupTips.h"
#include "ISpeechService.h"
#include "IVoiceKeyDispatcher.h"

class VoiceKeyState;

// What the device handlers reach of the higher layers: the key and voice flags they
// share with the voice pipeline, and the services their events go up to. The
// composition root builds one and hands it to every handler it constructs; a test
// hands its recording fakes the same way.
struct DeviceSeams {
    VoiceKeyState *keys = nullptr;
    IVoiceKeyDispatcher *voice = nullptr;
    ILaserPen *laserPen = nullptr;
    IPopupTips *tips = nullptr;
    ISpeechService *speech = nullptr;
    IAIWindow *aiWindow = nullptr;
    ITranslateManager *translate = nullptr;

    // A copy with every empty member filled: the services by stand-ins that do
    // nothing and log once, the flags by one state that all such handlers share.
    DeviceSeams resolved() const;
};
