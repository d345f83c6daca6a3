#pragma once

#include "NotificationCenter.h"
#include "platform/ISpeechSynth.h"

#include <QString>

#include <functional>

// Reads a text aloud with the system's speech synthesis and reports its progress:
// status 1 speaking, 2 paused, 3 resumed, 4 finished, stopped or cancelled. Only a
// finished utterance posts "TTSPlayCompleteNoti". Main thread only.
class TKTTSManager {
public:
    using CompleteBlock = std::function<void(qint64 status)>;

    explicit TKTTSManager(platform::ISpeechSynth &synth,
                          NotificationCenter &center = NotificationCenter::defaultCenter());
    ~TKTTSManager();
    TKTTSManager(const TKTTSManager &) = delete;
    TKTTSManager &operator=(const TKTTSManager &) = delete;

    // The installed manager (the composition root's); nullptr when none is.
    static TKTTSManager *sharedInstance();
    static TKTTSManager *setSharedInstance(TKTTSManager *instance);

    // A new text makes a new utterance in the language set at that moment.
    void setSpeakString(const QString &text);
    QString speakString() const { return m_speakString; }
    // Empty: the system's language.
    void setLanguage(const QString &language) { m_language = language; }
    QString language() const { return m_language; }
    void setCompleteBlock(CompleteBlock block) { m_completeBlock = std::move(block); }

    // Speaks the utterance when the synthesizer is idle; while it is busy this only
    // stops the speech at once, and a second call then speaks.
    void startSpeak();
    // Boundary 0 immediate, 1 at the end of the word; anything else is refused.
    bool stopSpeak(int boundary);
    bool pauseSpeak(int boundary);
    void continueSpeak();

    qint64 currentStatus() const { return m_currentStatus; }

private:
    void onEvent(platform::ISpeechSynth::Event event);

    platform::ISpeechSynth &m_synth;
    NotificationCenter &m_center;
    QString m_language;
    QString m_speakString;
    platform::ISpeechSynth::Utterance m_utterance;
    bool m_hasUtterance = false;
    qint64 m_currentStatus = 0;
    CompleteBlock m_completeBlock;
};
