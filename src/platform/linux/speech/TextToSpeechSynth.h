#pragma once

#include "Scheduler.h"
#include "platform/ISpeechSynth.h"
#include "platform/linux/ModuleHost.h"

#include <memory>

class QTextToSpeech;

namespace platform::linuxbackend {

// Qt's text-to-speech (speech-dispatcher or flite underneath), its engine made at the
// first utterance. Qt reports no "cancelled" of its own: an utterance that returns to
// Ready after stop() was cancelled, any other has finished.
class TextToSpeechSynth final : public ISpeechSynth {
public:
    explicit TextToSpeechSynth(const ModuleHost &host);
    ~TextToSpeechSynth() override;

    void setEventHandler(EventFn handler) override { m_handler = std::move(handler); }
    bool isSpeaking() const override { return m_phase != Phase::Idle && m_phase != Phase::Paused; }
    bool isPaused() const override { return m_phase == Phase::Paused; }
    void speak(const Utterance &utterance) override;
    bool stop(Boundary boundary) override;
    bool pause(Boundary boundary) override;
    void resume() override;

private:
    enum class Phase { Idle, Starting, Speaking, Paused, AfterSpeech };
    bool ensureEngine();
    void onState(int state);
    void finish(Event event);
    void report(Event event);

    ModuleHost m_host;
    Scheduler &m_scheduler;
    std::unique_ptr<QTextToSpeech> m_tts;
    EventFn m_handler;
    Phase m_phase = Phase::Idle;
    bool m_stopRequested = false;
    int m_postDelayMs = 0;
    Scheduler::TimerId m_afterSpeech = Scheduler::kNoTimer;
};

} // namespace platform::linuxbackend
