#include "PcmChunker.h"

QList<QByteArray> PcmChunker::push(QByteArrayView pcm)
{
    m_pending.append(pcm);
    QList<QByteArray> chunks;
    qsizetype at = 0;
    for (; m_pending.size() - at >= kChunkBytes; at += kChunkBytes)
        chunks.append(m_pending.mid(at, kChunkBytes));
    m_pending.remove(0, at);
    return chunks;
}

QByteArray PcmChunker::finish()
{
    QByteArray tail = std::exchange(m_pending, {});
    tail.append(kChunkBytes - tail.size(), '\0');
    return tail;
}
