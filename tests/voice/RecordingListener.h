#pragma once

#include "MainThread.h"
#include "asr/ISpeechStatusListener.h"

#include <QStringList>

// Every listener call as text ("new:display|new|status"), and whether one came from
// another thread than the main one.
struct RecordingListener : ISpeechStatusListener {
    QStringList calls;
    bool offMainThread = false;
    void note(const QString &call) { offMainThread |= !isMainThread(), calls << call; }

    void speechManagerRecognitionStatusChangeRecognizingAsr(const QString &text) override { note("rec:" + text); }
    void speechManagerRecognitionStatusChangeRecognizingAsrNewResult(const QString &display, const QString &newText,
                                                                     int status) override
    {
        note(QStringLiteral("new:%1|%2|%3").arg(display, newText).arg(status));
    }
    void speechManagerRecognitionStatusChangeEndAsr(const QString &text, bool success,
                                                    const QXTransferAudioModel *job) override
    {
        note(QStringLiteral("end:%1|%2").arg(text).arg(success) + (job ? QStringLiteral("|job") : QString()));
    }
    void speechManagerRecognitionUpdateTransferProgress(double progress, const QXTransferAudioModel &) override
    {
        note(QStringLiteral("progress:%1").arg(progress, 0, 'f', 2));
    }
};
