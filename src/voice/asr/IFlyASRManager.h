#pragma once

#include "platform/IAsrSdkEngine.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>

// The vendor SDK's streaming recogniser, used by the speech service in place of the
// websocket service when the user's settings select it (QXUserInfoData::isIFlyAsr).
// The SDK is initialised once, when the manager is made; a failed initialisation
// leaves it without a recogniser, and then every start answers false.
//
// Configure, start, stop and feed may come from any thread. Results arrive on the
// SDK's thread and are handed to the main thread; none is delivered after shutdown.
class IFlyASRManager {
public:
    using RecognitionResultBlock = std::function<void(int status, const QString &text)>;

    struct Settings {
        platform::AsrSdkConfig sdk;
        platform::AsrRecogniserParams recogniser;
        platform::AsrAudioAttributes audio;
    };
    // The application's SDK account, its work folder under the data root, and the
    // recogniser set up for Mandarin dictation with punctuation.
    static Settings defaultSettings();

    explicit IFlyASRManager(platform::IAsrSdkEngine &engine, const Settings &settings = defaultSettings());
    ~IFlyASRManager(); // shuts the SDK down when that has not happened yet
    IFlyASRManager(const IFlyASRManager &) = delete;
    IFlyASRManager &operator=(const IFlyASRManager &) = delete;

    // The installed manager; nullptr where no SDK engine exists (so on Linux).
    static IFlyASRManager *sharedInstance();
    static IFlyASRManager *setSharedInstance(IFlyASRManager *manager); // returns the previous one

    // An empty language code keeps the current one.
    void configureAsrWithRlang(const QString &rlang, bool ptt);
    // Stops a running recognition first. False when the SDK could not start one.
    bool startAsr();
    // True when nothing runs (or the SDK is shut down).
    bool stopAsr();
    // 16 kHz 16-bit mono PCM; dropped unless a recognition runs.
    void sendPcmData(QByteArrayView pcm);

    void setRecognitionResultBlock(RecognitionResultBlock block);
    RecognitionResultBlock recognitionResultBlock() const;

    // At quit: stops, detaches and releases the SDK. Terminal; a second call does nothing.
    void shutdownSparkChainBeforeTermination();

    bool isAsrRunning() const;

private:
    struct Shared;
    void attachResultHandler();

    platform::IAsrSdkEngine &m_engine;
    const Settings m_settings;
    mutable std::mutex m_mutex; // the recogniser's calls and state
    bool m_hasRecogniser = false;
    bool m_isAsrRunning = false;
    // The shut-down flag and the result block, shared with results still in flight.
    std::shared_ptr<Shared> m_shared;
};
