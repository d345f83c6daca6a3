#include "QXAudioQueueCapture.h"

#include "PZLog.h"

#include <QMetaObject>

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

void QXAudioQueueCapture::startRecordWithBlock(ChunkFn block)
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
    if (!m_isRecording)
        return;
    m_isRecording = false;
    const bool wasRunning = std::exchange(m_running, false);
    QByteArray rest;
    const int status = wasRunning ? m_microphone.close(rest) : 0;
    writeLog(withStatus("结束语音队列成功，status=%1", "结束语音队列失败，status=%1", status));
    if (!wasRunning)
        return;
    // What the microphone held at the stop is the last chunk; the consumer learns from
    // it that the source stopped, so it comes even when nothing was left.
    QMetaObject::invokeMethod(
        &m_context,
        [block = m_block, tail = m_chunker.finish(rest)] {
            if (block)
                block(tail);
        },
        Qt::QueuedConnection);
}

void QXAudioQueueCapture::onData(const QByteArray &pcm)
{
    // After the stop only its own last chunk counts, and a block may stop us midway.
    if (!m_isRecording)
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
