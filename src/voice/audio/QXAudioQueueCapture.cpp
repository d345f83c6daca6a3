#include "QXAudioQueueCapture.h"

#include "PZLog.h"

namespace {
QXAudioQueueCapture *g_installed = nullptr;

QString withStatus(const char *ok, const char *failed, int status)
{
    return QString::fromUtf8(status == 0 ? ok : failed).arg(status);
}
} // namespace

QXAudioQueueCapture::QXAudioQueueCapture(platform::IMicrophone &microphone) : m_microphone(microphone) {}

QXAudioQueueCapture::~QXAudioQueueCapture()
{
    if (m_running) {
        QByteArray ignored;
        m_microphone.close(ignored);
    }
}

QXAudioQueueCapture *QXAudioQueueCapture::sharedInstance()
{
    return g_installed;
}

QXAudioQueueCapture *QXAudioQueueCapture::setSharedInstance(QXAudioQueueCapture *instance)
{
    return std::exchange(g_installed, instance);
}

void QXAudioQueueCapture::startRecordWithBlock(ChunkHandler block)
{
    if (m_isRecording) {
        writeLog(QStringLiteral("未结束又新建语音队列,先结束上次语音队列"));
        stopRecord();
    }
    m_block = std::move(block);
    m_chunker.clear();
    const int created = m_microphone.open();
    writeLog(withStatus("新建语音队列成功，status=%1", "新建语音队列失败，status=%1", created));
    int started = created;
    if (created == 0)
        started = m_microphone.start([this](const QByteArray &pcm) { onData(pcm); },
                                     [this](const QString &reason) { onFailed(reason); });
    writeLog(withStatus("开启语音队列成功，status=%1", "开启语音队列失败，status=%1", started));
    m_running = started == 0;
    m_isRecording = true;
}

void QXAudioQueueCapture::stopRecord()
{
    if (!m_isRecording || m_stopping)
        return;
    m_stopping = true;
    const bool wasRunning = std::exchange(m_running, false);
    QByteArray rest;
    const int status = wasRunning ? m_microphone.close(rest) : 0;
    writeLog(withStatus("结束语音队列成功，status=%1", "结束语音队列失败，status=%1", status));
    // Whole chunks the device still held were recorded before the stop and go as usual;
    // the padded rest is the last chunk, from which the consumer learns that the source
    // stopped, so it comes even when nothing was left.
    const ChunkHandler block = m_block;
    if (wasRunning && block)
        for (const QByteArray &chunk : m_chunker.push(rest))
            block(chunk);
    m_isRecording = false;
    m_stopping = false;
    if (wasRunning && block)
        block(m_chunker.finish());
}

void QXAudioQueueCapture::onData(const QByteArray &pcm)
{
    // After the stop only its own last chunk counts, and a block may stop us midway.
    if (!m_isRecording || m_stopping)
        return;
    for (const QByteArray &chunk : m_chunker.push(pcm)) {
        if (m_block)
            m_block(chunk);
        if (!m_isRecording)
            return;
    }
}

void QXAudioQueueCapture::onFailed(const QString &reason)
{
    writeLog(QStringLiteral("语音队列中断，%1").arg(reason));
    stopRecord();
}
