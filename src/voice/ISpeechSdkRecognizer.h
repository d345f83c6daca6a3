#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The vendor's on-device recogniser as the speech service uses it: 16 kHz 16-bit mono
// PCM in, results out. No such engine exists on this desktop; the service then uses the
// websocket service for every language.
class ISpeechSdkRecognizer {
public:
    // status 2 is the last result.
    using ResultHandler = std::function<void(int status, const QString &text)>;

    virtual ~ISpeechSdkRecognizer() = default;

    // An empty language keeps the engine's.
    virtual void configureAsrWithRlang(const QString &rlang, bool ptt) = 0;
    virtual bool startAsr() = 0;
    virtual bool stopAsr() = 0;
    virtual void sendPcmData(const QByteArray &pcm) = 0;
    // Results are handed to the main thread before the handler runs.
    virtual void setResultHandler(ResultHandler handler) = 0;
};
