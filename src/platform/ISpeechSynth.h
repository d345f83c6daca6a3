#pragma once

#include <QString>

#include <functional>

namespace platform {

// The system's text-to-speech engine, one utterance at a time. Main thread only.
class ISpeechSynth {
public:
    enum class Boundary { Immediate, Word };
    enum class Event { Started, Paused, Resumed, Finished, Cancelled };

    struct Utterance {
        QString text;
        QString language;    // a locale name ("en_US", "zh-CN"); empty: the system's
        double rate = 0.0;   // -1 slowest, 0 the engine's normal rate, 1 fastest
        double pitch = 0.0;  // -1 lowest, 0 the voice's own, 1 highest
        double volume = 1.0; // 0 silent to 1 full
        int postDelayMs = 0; // the utterance counts as speaking this long after its end
    };
    using EventFn = std::function<void(Event)>;

    virtual ~ISpeechSynth() = default;

    // Progress of the current utterance. An engine that fails reports nothing.
    virtual void setEventHandler(EventFn handler) = 0;
    virtual bool isSpeaking() const = 0; // speaking, or in the post delay
    virtual bool isPaused() const = 0;
    virtual void speak(const Utterance &utterance) = 0;
    // True when there was an utterance to stop (it then ends with Cancelled).
    virtual bool stop(Boundary boundary) = 0;
    // True when an utterance was speaking and is pausing.
    virtual bool pause(Boundary boundary) = 0;
    virtual void resume() = 0;
};

} // namespace platform
