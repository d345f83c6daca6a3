#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace platform {

// What the vendor's streaming speech recogniser is set up with: the SDK itself,
// the recogniser, and the audio it is fed.
struct AsrSdkConfig {
    QString appId;
    QString apiKey;
    QString apiSecret;
    QString workDir; // an existing folder the SDK may write to
    int logLevel = 100;
};

struct AsrRecogniserParams {
    QString language;
    QString domain;
    QString accent;
    QString rlang;
    int vadEos = 0;  // ms of trailing silence that ends an utterance
    bool ptt = true; // punctuation
    QString dwa;
};

struct AsrAudioAttributes {
    int sampleRate = 16000;
    QString encoding = QStringLiteral("raw");
    int channels = 1;
    int bitDepth = 16;
    int frameSize = 0;
};

// The vendor speech SDK (a closed library, loaded beside the application where the
// vendor ships one). The recogniser manager is its only user and serialises the calls.
// Integer results follow the SDK: 0 is success.
class IAsrSdkEngine {
public:
    // status 2 marks the last result of an utterance. Called on the SDK's own thread.
    using ResultHandler = std::function<void(int status, const QString &text)>;

    virtual ~IAsrSdkEngine() = default;

    virtual int init(const AsrSdkConfig &config) = 0;
    // One recogniser per initialised SDK; false when it cannot be made.
    virtual bool createRecogniser(const AsrRecogniserParams &params) = 0;
    virtual void setRlang(const QString &rlang) = 0;
    virtual void setPtt(bool on) = 0;
    // An empty handler detaches: no result is delivered after it returns.
    virtual void setResultHandler(ResultHandler handler) = 0;
    virtual int start(const AsrAudioAttributes &audio) = 0;
    virtual int stop(int mode) = 0;
    // 16 kHz 16-bit mono raw PCM.
    virtual void write(QByteArrayView pcm) = 0;
    virtual void uninit() = 0;
};

} // namespace platform
