#pragma once

#include "QXNetError.h"

// The voice-chip vendor's token request as the voice-chip authorisation sees it: the
// HTTP client's getIFlytekTokenWithCallback, which reads the chip's data from the
// application state, stores the token and its expiry there and calls back once, on
// the main thread.
class IChipTokenClient {
public:
    virtual ~IChipTokenClient() = default;
    virtual void getIFlytekTokenWithCallback(QXSceneCallback callback) = 0;
};
