#pragma once

#include "Scheduler.h"
#include "platform/ISpeechSynth.h"

#include <memory>

namespace platform::linuxbackend {

// Qt's text-to-speech, which lives in a module of its own (libqx_speech.so, found where
// libqx_multimedia.so is) loaded at the first utterance: a process that never speaks
// does not map Qt TextToSpeech. Without the module nothing is spoken and the log says
// so once; an utterance then reports no events, as with an engine that fails.
class QtSpeechSynth final : public ISpeechSynth {
public:
    explicit QtSpeechSynth(Scheduler &scheduler = Scheduler::instance());
    ~QtSpeechSynth() override;

    void setEventHandler(EventFn handler) override;
    bool isSpeaking() const override { return m_real && m_real->isSpeaking(); }
    bool isPaused() const override { return m_real && m_real->isPaused(); }
    void speak(const Utterance &utterance) override;
    bool stop(Boundary boundary) override { return m_real && m_real->stop(boundary); }
    bool pause(Boundary boundary) override { return m_real && m_real->pause(boundary); }
    void resume() override;

private:
    Scheduler &m_scheduler;
    EventFn m_handler;
    std::unique_ptr<ISpeechSynth> m_real;
};

} // namespace platform::linuxbackend
