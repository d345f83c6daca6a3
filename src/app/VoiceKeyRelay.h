#pragma once

#include "PZLog.h"
#include "services/IVoiceKeyDispatcher.h"

#include <atomic>

// The device layers are built before the voice pipeline (the dispatcher needs their
// command facade), so they are handed this relay, which passes every event on to the
// dispatcher once it exists. Until then, and after it went, events are dropped.
class VoiceKeyRelay final : public IVoiceKeyDispatcher {
public:
    void setTarget(IVoiceKeyDispatcher *target) { m_target.store(target); }

    void hidCallbackType(int type) override
    {
        if (IVoiceKeyDispatcher *target = m_target.load())
            target->hidCallbackType(type);
        else
            dropped();
    }
    void cancelAsr() override
    {
        if (IVoiceKeyDispatcher *target = m_target.load())
            target->cancelAsr();
    }
    void endIMouseMonitor() override
    {
        if (IVoiceKeyDispatcher *target = m_target.load())
            target->endIMouseMonitor();
    }

private:
    static void dropped() { qxLogOnce("voiceRelay", "[app] a key event came before the voice pipeline; dropped"); }

    std::atomic<IVoiceKeyDispatcher *> m_target{nullptr}; // events may come from any thread
};
