#include "QXAudioFileTranscription.h"

#include "PZLog.h"

#include <QFile>

#include <utility>

QXAudioFileTranscription::QXAudioFileTranscription(QObject *parent) : QObject(parent) {}

QXAudioFileTranscription::~QXAudioFileTranscription()
{
    stop();
}

void QXAudioFileTranscription::transferAudioWithFilePath(const QString &path, const QXTransferAudioModel &model)
{
    writeLog(QStringLiteral("开始转写音频"));
    stop();
    m_model = model;
    clear();
    m_endSent = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        writeLog(QStringLiteral("转写文件无法读取:%1").arg(path));
        return;
    }
    const QByteArray all = file.readAll();
    for (qsizetype at = 0; at < all.size(); at += kChunkBytes)
        m_chunks.push_back(all.mid(at, kChunkBytes));
    if (all.isEmpty())
        m_chunks.emplace_back();
    m_total = int(m_chunks.size());
}

void QXAudioFileTranscription::clear()
{
    m_chunks.clear();
    m_total = 0;
}

void QXAudioFileTranscription::start(Sink sink)
{
    stop();
    m_sink = std::move(sink);
    m_endSent = false;
    sendNext();
    m_timer = Scheduler::instance().repeating(
        kSendIntervalMs, [this] { sendNext(); }, this);
    sendNext(); // the first tick is at once
}

void QXAudioFileTranscription::stop()
{
    cancelTimer(Scheduler::instance(), m_timer);
}

void QXAudioFileTranscription::sendNext()
{
    if (m_chunks.empty()) {
        // The open and the first tick of an empty queue both land here: one end frame.
        if (!std::exchange(m_endSent, true)) {
            if (m_sink.send)
                m_sink.send({}, true);
            if (m_sink.progress)
                m_sink.progress(1.0);
        }
        stop();
        return;
    }
    const QByteArray chunk = std::move(m_chunks.front());
    m_chunks.pop_front();
    if (m_sink.send)
        m_sink.send(chunk, false);
    if (m_total > 0 && m_sink.progress)
        m_sink.progress(1.0 - double(m_chunks.size()) / double(m_total));
}
