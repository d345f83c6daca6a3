#pragma once

#include "ISpeechStatusListener.h"

#include <QString>

#include <functional>

// A live recognition as the voice-key dispatcher starts, ends and abandons it.
// Start, end and cancel are queued behind what is pending; results and listener calls
// arrive on the main thread.
class IAsrService {
public:
    // (success, text so far, isLast) for every result.
    using ResultBlock = std::function<void(bool success, const QString &text, bool isLast)>;

    virtual ~IAsrService() = default;
    virtual void beginAsrIsTransferAudio(bool isTransferAudio, ResultBlock callback) = 0;
    virtual void endAsr() = 0;
    virtual void cancelAsr() = 0;
    virtual void addStatusListener(ISpeechStatusListener *listener) = 0;
    virtual void removeStatusListener(ISpeechStatusListener *listener) = 0;
    // The connection to the speech service is open (not connecting, not closed).
    virtual bool isSocketOpen() const = 0;
};
