#pragma once

#include "ListenerSet.h"

#include <QString>

class QXTransferAudioModel;

// What the speech service tells its listeners (the voice-key dispatcher, the audio-file
// transcription page), always on the main thread. A listener overrides what it wants;
// the rest do nothing. Texts are never null ("" instead).
class ISpeechStatusListener : public ListenerLifetime {
public:
    virtual ~ISpeechStatusListener() = default;

    // Every result that is not the last one: the text shown so far.
    virtual void speechManagerRecognitionStatusChangeRecognizingAsr(const QString &text) { Q_UNUSED(text); }
    // Every result: the text shown so far, what this result added, and the result's kind:
    // 0 interim, 1 sentence final, 2 last.
    virtual void speechManagerRecognitionStatusChangeRecognizingAsrNewResult(const QString &display,
                                                                             const QString &newText, int status)
    {
        Q_UNUSED(display);
        Q_UNUSED(newText);
        Q_UNUSED(status);
    }
    // The last result (or, for a file transcription that failed, "" and false). `job` is
    // the file transcription that ended, nullptr for a live recognition.
    virtual void speechManagerRecognitionStatusChangeEndAsr(const QString &text, bool success,
                                                            const QXTransferAudioModel *job)
    {
        Q_UNUSED(text);
        Q_UNUSED(success);
        Q_UNUSED(job);
    }
    // A file transcription moved on: progress 0 to 1.
    virtual void speechManagerRecognitionUpdateTransferProgress(double progress, const QXTransferAudioModel &model)
    {
        Q_UNUSED(progress);
        Q_UNUSED(model);
    }
};
