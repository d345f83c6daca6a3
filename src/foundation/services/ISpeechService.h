#pragma once

class QIODevice;

// The speech service (QXWebApiAsrService) as the device voice decoders and the
// application's termination see it.
class ISpeechService {
public:
    virtual ~ISpeechService() = default;
    // The open recording file of the current session, or nullptr when none is open.
    // Decoders append 16-bit PCM to it; with none open they write nothing.
    virtual QIODevice *fileHandle() = 0;
    // At quit: the socket closes and recording stops; nothing starts again.
    virtual void prepareForApplicationTermination() {}
};
