#pragma once

#include <QByteArray>

#include <functional>

namespace platform {

// The computer's microphone as the speech service records it: 16 kHz mono signed
// 16-bit little-endian PCM in chunks of 1280 bytes (40 ms), handed to one consumer.
// Main thread only; chunks arrive from the event loop, never inside start() or stop().
class IAudioInput {
public:
    using ChunkFn = std::function<void(const QByteArray &chunk)>;

    virtual ~IAudioInput() = default;

    // Starts recording into chunkFn; a start while recording ends that recording first.
    virtual void start(ChunkFn chunkFn) = 0;
    // Ends the recording at once. Exactly one chunk still follows, while isRecording()
    // is already false: what was recorded but not yet handed over, zero-padded to a
    // whole number of 1280-byte units (1280 zero bytes when nothing was left), so the
    // consumer always learns that the source stopped. Stop while idle does nothing.
    virtual void stop() = 0;
    virtual bool isRecording() const = 0;
};

} // namespace platform
