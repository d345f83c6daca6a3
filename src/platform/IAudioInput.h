#pragma once

#include <QByteArray>

#include <functional>

namespace platform {

// The computer's microphone: the system's default input recorded as 16 kHz, 16-bit
// signed little-endian mono PCM, handed over in chunks of exactly 1280 bytes (40 ms).
// Main thread only; a backend that captures on another thread hands each chunk to the
// main thread before calling the handler.
class IAudioInput {
public:
    static constexpr int kSampleRate = 16000;
    static constexpr int kChunkBytes = kSampleRate / 25 * 2; // 40 ms of 16-bit samples

    using ChunkHandler = std::function<void(const QByteArray &chunk)>;

    virtual ~IAudioInput() = default;

    // Starts recording into onChunk. While already recording, the running capture is
    // stopped first (as stop() below) and a new one started. A capture that cannot start
    // is logged; isRecording() still reports true and no chunk arrives.
    virtual void start(ChunkHandler onChunk) = 0;
    // Stops recording. What was captured but not yet handed over goes to the handler as
    // one last chunk, zero-padded to 1280 bytes, before this returns, with isRecording()
    // already false; nothing arrives after that. Does nothing while not recording.
    virtual void stop() = 0;
    virtual bool isRecording() const = 0;
};

} // namespace platform
