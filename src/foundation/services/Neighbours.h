#pragma once

#include "IAIWindow.h"
#include "IAppShell.h"
#include "IKeyPressManager.h"
#include "ILaserPen.h"
#include "IPopupTips.h"
#include "ISpeechService.h"
#include "IVoiceKeyDispatcher.h"

// The services of the higher layers that the foundation, network and device layers
// call into. The composition root installs the real ones; until then (and in any
// slot left empty) a stand-in answers that does nothing and logs once.
struct Neighbours {
    IVoiceKeyDispatcher *voice = nullptr;
    IKeyPressManager *keyPress = nullptr;
    ISpeechService *speech = nullptr;
    IPopupTips *tips = nullptr;
    ILaserPen *laserPen = nullptr;
    IAIWindow *aiWindow = nullptr;
    ITranslateManager *translate = nullptr;
    IAppShell *shell = nullptr;
};

// The installed services, with empty slots filled by the logging stand-ins.
Neighbours &neighbours();
// Installs services; empty slots get the stand-ins. Returns the previous set (tests restore it).
Neighbours installNeighbours(const Neighbours &services);
