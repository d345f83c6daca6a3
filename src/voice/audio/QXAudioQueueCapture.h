#pragma once

#include "platform/IAudioInput.h"
#include "platform/IMicrophone.h"

#include "PcmChunker.h"

// Records the computer's default input for the speech service in 1280-byte chunks.
// Main thread only; the microphone's audio comes from the event loop, the last chunk
// from stop() itself (see IAudioInput). Failures to open or start are
// logged with their status while the recording counts as started, as the device
// voice path expects; no chunk then arrives, not even after the stop. An input that
// breaks off ends the recording as a stop would.
class QXAudioQueueCapture final : public platform::IAudioInput {
public:
    explicit QXAudioQueueCapture(platform::IMicrophone &microphone);
    ~QXAudioQueueCapture() override;
    QXAudioQueueCapture(const QXAudioQueueCapture &) = delete;
    QXAudioQueueCapture &operator=(const QXAudioQueueCapture &) = delete;

    // The installed capture (the composition root's); nullptr when none is.
    static QXAudioQueueCapture *sharedInstance();
    static QXAudioQueueCapture *setSharedInstance(QXAudioQueueCapture *instance);

    void startRecordWithBlock(ChunkHandler block);
    void stopRecord();
    bool isRecording() const override { return m_isRecording; }

    void start(ChunkHandler onChunk) override { startRecordWithBlock(std::move(onChunk)); }
    void stop() override { stopRecord(); }

private:
    void onData(const QByteArray &pcm);
    void onFailed(const QString &reason);

    platform::IMicrophone &m_microphone;
    PcmChunker m_chunker;
    ChunkHandler m_block;
    bool m_isRecording = false;
    bool m_running = false;  // the microphone really delivers
    bool m_stopping = false; // handing over what the stop found
};
