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

QByteArray PcmChunker::finish(QByteArrayView rest)
{
    QByteArray tail = std::exchange(m_pending, {});
    tail.append(rest);
    const qsizetype units = std::max<qsizetype>(1, (tail.size() + kChunkBytes - 1) / kChunkBytes);
    tail.append(units * kChunkBytes - tail.size(), '\0');
    return tail;
}
