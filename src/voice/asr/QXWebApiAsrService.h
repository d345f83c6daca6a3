#pragma once

#include "AsrFrames.h"
#include "AsrResultText.h"
#include "IAsrService.h"
#include "ISpeechStatusListener.h"
#include "QXAudioFileTranscription.h"
#include "Scheduler.h"
#include "services/ISpeechService.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QPointer>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QWebSocket;
class QXLanguageManager;
class QXMouseCommandManager;
class QXUserInfoData;
class VoiceKeyState;
class IFlyASRManager;
namespace platform {
class IAudioInput;
}

// Speech to text over the maker's websocket speech service. A recognition records the
// computer's microphone or takes the device's voice, sends every chunk as one JSON text
// frame as soon as it arrives, and turns the replies into interim, sentence and last
// results for the caller's result block and for the listeners. The same socket protocol
// transcribes an audio file: fileTranscription() holds its chunks and paces them.
//
// Main thread only: start, end and cancel are queued behind what is already pending,
// socket events and chunks are handled as they arrive, every listener and block call
// happens on the main thread.
class QXWebApiAsrService final : public QObject, public ISpeechService, public IAsrService {
public:
    using ResultBlock = IAsrService::ResultBlock;

    struct Deps {
        // Required.
        QXUserInfoData *state = nullptr;
        QXLanguageManager *languages = nullptr;
        QXMouseCommandManager *device = nullptr;
        platform::IAudioInput *microphone = nullptr; // nullptr: no microphone
        IFlyASRManager *sdk = nullptr;               // nullptr: no SDK engine (always so on Linux)
        // Whether the device streams voice (isStartVoice); nullptr: it never does.
        const VoiceKeyState *keys = nullptr;
        // The device voice's "format"/"rate" for the frames; empty: the device facade's.
        std::function<AsrAudioFormat()> deviceAudioFormat = {};
        std::function<QString()> hotWords = {}; // the frame's "phrases"; empty: ""
        std::function<int()> pressType = {};    // the voice-key dispatcher's; empty: 0
        // The speech pop-up: a message with a press type, and its dismissal.
        std::function<void(const QString &text, int pressType)> showSpeechView = {};
        std::function<void()> dismissSpeechView = {};
        std::function<void()> pausePlayback = {}; // speech synthesis and audio playback
        std::function<void(const QJsonValue &dm)> semanticAnswer = {};
        QString serviceBase = {}; // "ws://host:port"; empty: the configured speech service
    };

    static constexpr int kReplyWindowMs = 2000; // replies are taken this long after the end
    static constexpr int kWavKeepMs = 2000;

    explicit QXWebApiAsrService(Deps deps, QObject *parent = nullptr);
    ~QXWebApiAsrService() override;

    // A new recognition (queued): live voice, or the file handed to transferAudio… before.
    void beginAsrIsTransferAudio(bool isTransferAudio, ResultBlock callback) override;
    // The key was released: recording stops, the last result may still come (queued).
    void endAsr() override;
    // Abandons the recognition: no result is reported any more (queued).
    void cancelAsr() override;
    // The file the next beginAsrIsTransferAudio(true, …) transcribes: its
    // transferAudioWithFilePath() queues the chunks, its job record comes back with
    // every progress report.
    QXAudioFileTranscription &fileTranscription() { return m_transcription; }

    void addStatusListener(ISpeechStatusListener *listener) override { m_listeners.add(listener); }
    void removeStatusListener(ISpeechStatusListener *listener) override { m_listeners.remove(listener); }

    // At quit: closes everything now; nothing starts again.
    void prepareForApplicationTermination() override;

    // The recording of the current recognition ("Test.pcm"), or nullptr.
    QIODevice *fileHandle() override { return m_fileHandle.get(); }

    bool isSocketOpen() const override;

    // The device's voice (the command facade's sendVoiceDataBlock): taken while a
    // recognition records from the device, else dropped with one log line.
    void deviceVoice(bool more, QByteArrayView audio);

    // For tests: whether a socket exists (open or opening).
    bool hasSocket() const;

private:
    enum class Source { None, Microphone, Device };

    QXUserInfoData &state() const;
    QXLanguageManager &languages() const;
    QXMouseCommandManager &device() const;
    bool deviceStreams() const;
    platform::IAudioInput *microphone() const;
    IFlyASRManager *sdk() const;
    AsrAudioFormat deviceAudioFormat() const;

    void start(bool isTransferAudio, ResultBlock callback);
    void finish();
    void cancel();
    bool isPointerMicMode() const;
    void startSdk();
    void requestWebSocket();
    void socketOpened();
    void socketFailed();
    void socketClosed();
    void textReceived(const QString &message);
    void startRecord();
    void chunkArrived(Source source, const QByteArray &chunk, bool sourceStopped);
    void finishRecording();
    void sendArrayData();
    void sendDataToService(const QByteArray &chunk);
    void sendEndFrameIfStopped();
    void invalidateTimer();
    void dropQueued();
    void kvWebSocketClose();
    void dropSocket();
    void sdkResult(int status, const QString &text);
    void reportTransferFailure();
    void report(const AsrResultText::Report &r);
    void reportLast(const QString &newText);
    void progress(double value);
    AsrFrameFields frameFields() const;

    Deps m_deps;
    QPointer<QWebSocket> m_socket;
    bool m_socketOpened = false; // the handshake of m_socket completed
    AsrStreamPosition m_status = AsrStreamPosition::First;
    bool m_isEnd = false;
    bool m_isCancel = false;
    bool m_manualEnd = false;
    bool m_isTransferAudio = false;
    bool m_pointerMicMode = false;
    bool m_sdkSession = false;
    bool m_badReplyLogged = false;
    bool m_endFrameSent = false;
    bool m_transferEnded = false; // the file transcription's end was reported
    bool m_shutdown = false;
    Source m_source = Source::None;
    std::deque<QByteArray> m_lastData;
    Scheduler::TimerId m_manualEndTimer = Scheduler::kNoTimer;
    Scheduler::TimerId m_wavDeleteTimer = Scheduler::kNoTimer;
    QString m_clientId;
    AsrResultText m_result;
    ResultBlock m_audioResultBlock;
    ListenerSet<ISpeechStatusListener> m_listeners;
    std::unique_ptr<QFile> m_fileHandle;
    QXAudioFileTranscription m_transcription;
};
