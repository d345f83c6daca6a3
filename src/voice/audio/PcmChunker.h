#pragma once

#include "platform/IAudioInput.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Cuts a stream of PCM into the units the speech service sends: 40 ms of 16 kHz mono
// 16-bit audio, ceil(16000 × 0.04) frames × 2 bytes = 1280 bytes.
class PcmChunker {
public:
    static constexpr int kChunkBytes = platform::IAudioInput::kChunkBytes;
    static_assert(kChunkBytes == 640 * 2);

    // The whole chunks that pcm completes, oldest first; the rest waits for more.
    QList<QByteArray> push(QByteArrayView pcm);
    // What still waits as one chunk, zero-padded to 1280 bytes (all zero when nothing
    // waits). Leaves the chunker empty.
    QByteArray finish();
    void clear() { m_pending.clear(); }

private:
    QByteArray m_pending;
};
