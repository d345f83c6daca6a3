#pragma once

#include "AsrFrames.h"
#include "AsrResultText.h"
#include "IAsrService.h"
#include "ISpeechStatusListener.h"
#include "Scheduler.h"
#include "services/ISpeechService.h"
#include "sqlite/QXTransferAudioModel.h"

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
class IFlyASRManager;
namespace platform {
class IAudioInput;
}

// Speech to text over the maker's websocket speech service. A recognition records the
// computer's microphone or takes the device's voice, sends every chunk as one JSON text
// frame as soon as it arrives, and turns the replies into interim, sentence and last
// results for the caller's result block and for the listeners. The same socket protocol
// transcribes an audio file, one chunk every 40 ms, with progress.
//
// Main thread only: start, end and cancel are queued behind what is already pending,
// socket events and chunks are handled as they arrive, every listener and block call
// happens on the main thread.
class QXWebApiAsrService final : public QObject, public ISpeechService, public IAsrService {
public:
    using ResultBlock = IAsrService::ResultBlock;

    struct Deps {
        QXUserInfoData *state = nullptr;             // nullptr: the shared instance at each use
        QXLanguageManager *languages = nullptr;      // likewise
        QXMouseCommandManager *device = nullptr;     // likewise
        platform::IAudioInput *microphone = nullptr; // likewise (the installed capture, if any)
        IFlyASRManager *sdk = nullptr;               // likewise (none where no SDK engine exists)
        // The device state the frame's "format"/"rate" come from; empty: the WAV writer's.
        std::function<WavRateInputs()> deviceAudio = {};
        std::function<QString()> hotWords = {}; // the frame's "phrases"; empty: ""
        std::function<int()> pressType = {};    // the voice-key dispatcher's; empty: 0
        // The speech pop-up: a message with a press type, and its dismissal.
        std::function<void(const QString &text, int pressType)> showSpeechView = {};
        std::function<void()> dismissSpeechView = {};
        std::function<void()> pausePlayback = {}; // speech synthesis and audio playback
        std::function<void(const QJsonValue &dm)> semanticAnswer = {};
        QString serviceBase = {}; // "ws://host:port"; empty: the configured speech service
    };

    static constexpr int kSendIntervalMs = 40;
    static constexpr int kTransferChunkBytes = 1280;
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
    // Cuts the file into chunks for the next beginAsrIsTransferAudio(true, …). A file
    // that cannot be read gives no chunk, an empty one a single empty chunk.
    void transferAudioWithFilePath(const QString &path, const QXTransferAudioModel &model);
    void setCurrentTransferAudioModel(const QXTransferAudioModel &model) { m_transferModel = model; }

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
    platform::IAudioInput *microphone() const;
    IFlyASRManager *sdk() const;
    WavRateInputs deviceAudio() const;

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
    void startTimer();
    void invalidateTimer();
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
    Scheduler::TimerId m_timer = Scheduler::kNoTimer;
    Scheduler::TimerId m_manualEndTimer = Scheduler::kNoTimer;
    Scheduler::TimerId m_wavDeleteTimer = Scheduler::kNoTimer;
    QString m_clientId;
    AsrResultText m_result;
    ResultBlock m_audioResultBlock;
    ListenerSet<ISpeechStatusListener> m_listeners;
    std::unique_ptr<QFile> m_fileHandle;
    int m_allTransferArrCount = 0;
    QXTransferAudioModel m_transferModel;
};
