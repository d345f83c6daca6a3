#pragma once

#include "Scheduler.h"
#include "sqlite/QXTransferAudioModel.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>

// One audio file on its way to the speech service: read whole, cut into 1280-byte
// chunks, sent one chunk per 40 ms tick once the service's socket is open, with the
// share sent reported as progress. The speech service owns the socket and builds the
// frames; this class decides what goes out next and how far the file has got.
//
// Main thread only.
class QXAudioFileTranscription final : public QObject {
public:
    static constexpr int kChunkBytes = 1280;
    static constexpr int kSendIntervalMs = 40;

    struct Sink {
        // A chunk of the file, or (last) the empty frame that ends it.
        std::function<void(const QByteArray &chunk, bool last)> send;
        std::function<void(double progress)> progress;
    };

    explicit QXAudioFileTranscription(QObject *parent = nullptr);
    ~QXAudioFileTranscription() override;

    // Reads the file and queues its chunks for the next transcription. A file that
    // cannot be read queues no chunk (only the end frame goes), an empty one a single
    // empty chunk.
    void transferAudioWithFilePath(const QString &path, const QXTransferAudioModel &model);
    void setCurrentTransferAudioModel(const QXTransferAudioModel &model) { m_model = model; }
    const QXTransferAudioModel &currentTransferAudioModel() const { return m_model; }

    // The socket is open: one chunk goes now and one at the first tick, which is also
    // at once, then one per tick; after the last chunk the end frame and progress 1.0,
    // once per file, and the ticks stop.
    void start(Sink sink);
    // Stops the ticks; what is left stays queued.
    void stop();
    // Forgets the queued chunks (a live recognition took the service over).
    void clear();
    bool isSending() const { return m_timer != Scheduler::kNoTimer; }

private:
    void sendNext();

    QXTransferAudioModel m_model;
    std::deque<QByteArray> m_chunks;
    int m_total = 0;
    bool m_endSent = false;
    Sink m_sink;
    Scheduler::TimerId m_timer = Scheduler::kNoTimer;
};
