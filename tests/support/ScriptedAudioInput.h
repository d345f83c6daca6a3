#pragma once

#include "platform/IAudioInput.h"

#include <optional>

// A microphone the test plays: deliver() hands a chunk over, and stop() hands over the
// tail the test set (or nothing), as the real capture does with its padded rest.
class ScriptedAudioInput : public platform::IAudioInput {
public:
    std::optional<QByteArray> tail;
    int starts = 0;

    void start(ChunkHandler onChunk) override
    {
        stop();
        m_handler = std::move(onChunk);
        m_recording = true;
        ++starts;
    }
    void stop() override
    {
        if (std::exchange(m_recording, false) && tail && m_handler)
            m_handler(*std::exchange(tail, std::nullopt));
    }
    bool isRecording() const override { return m_recording; }
    void deliver(const QByteArray &chunk) { m_handler(chunk); }

private:
    ChunkHandler m_handler;
    bool m_recording = false;
};
