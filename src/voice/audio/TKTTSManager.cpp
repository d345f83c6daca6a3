#include "TKTTSManager.h"

#include "NotificationNames.h"

#include <optional>

namespace {
TKTTSManager *g_installed = nullptr;

std::optional<platform::ISpeechSynth::Boundary> boundaryOf(int boundary)
{
    switch (boundary) {
    case 0:
        return platform::ISpeechSynth::Boundary::Immediate;
    case 1:
        return platform::ISpeechSynth::Boundary::Word;
    default:
        return std::nullopt;
    }
}
} // namespace

TKTTSManager::TKTTSManager(platform::ISpeechSynth &synth, NotificationCenter &center) : m_synth(synth), m_center(center)
{
    m_synth.setEventHandler([this](platform::ISpeechSynth::Event event) { onEvent(event); });
}

TKTTSManager::~TKTTSManager()
{
    m_synth.setEventHandler({});
}

TKTTSManager *TKTTSManager::sharedInstance()
{
    return g_installed;
}

TKTTSManager *TKTTSManager::setSharedInstance(TKTTSManager *instance)
{
    return std::exchange(g_installed, instance);
}

void TKTTSManager::setSpeakString(const QString &text)
{
    m_speakString = text;
    m_utterance = {};
    m_utterance.text = text;
    m_utterance.language = m_language;
    // The default rate, the voice's own pitch, full volume, and half a second of quiet
    // after the text before it counts as finished.
    m_utterance.postDelayMs = 500;
    m_hasUtterance = true;
}

void TKTTSManager::startSpeak()
{
    m_currentStatus = 1;
    if (m_synth.isSpeaking() || m_synth.isPaused()) {
        m_synth.stop(platform::ISpeechSynth::Boundary::Immediate);
        return;
    }
    if (m_hasUtterance)
        m_synth.speak(m_utterance);
}

bool TKTTSManager::stopSpeak(int boundary)
{
    const auto b = boundaryOf(boundary);
    if (!b || !m_synth.stop(*b))
        return false;
    m_currentStatus = 4;
    return true;
}

bool TKTTSManager::pauseSpeak(int boundary)
{
    const auto b = boundaryOf(boundary);
    if (!b || !m_synth.pause(*b))
        return false;
    m_currentStatus = 2;
    return true;
}

void TKTTSManager::continueSpeak()
{
    m_currentStatus = 3;
    m_synth.resume();
}

void TKTTSManager::onEvent(platform::ISpeechSynth::Event event)
{
    using Event = platform::ISpeechSynth::Event;
    switch (event) {
    case Event::Started:
        m_currentStatus = 1;
        break;
    case Event::Paused:
        m_currentStatus = 2;
        break;
    case Event::Resumed:
        m_currentStatus = 3;
        break;
    case Event::Cancelled:
        m_currentStatus = 4;
        break;
    case Event::Finished:
        m_currentStatus = 4;
        m_center.post(QString::fromLatin1(qx::notify::TTSPlayCompleteNoti));
        break;
    }
    // A copy: the block may replace itself (the answer's link player does).
    if (const CompleteBlock block = m_completeBlock)
        block(m_currentStatus);
}
