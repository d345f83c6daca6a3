#include "TextToSpeechSynth.h"

#include "PZLog.h"

#include <QLocale>
#include <QTextToSpeech>

namespace platform::linuxbackend {
namespace {

QTextToSpeech::BoundaryHint hint(ISpeechSynth::Boundary boundary)
{
    return boundary == ISpeechSynth::Boundary::Word ? QTextToSpeech::BoundaryHint::Word
                                                    : QTextToSpeech::BoundaryHint::Immediate;
}

} // namespace

TextToSpeechSynth::TextToSpeechSynth(const ModuleHost &host) : m_host(host), m_scheduler(*host.scheduler) {}

TextToSpeechSynth::~TextToSpeechSynth()
{
    cancelTimer(m_scheduler, m_afterSpeech);
    if (m_tts)
        m_tts->disconnect();
}

bool TextToSpeechSynth::ensureEngine()
{
    if (!m_tts) {
        m_tts = std::make_unique<QTextToSpeech>();
        // The preferred engine (speech-dispatcher) fails where no dispatcher runs; another
        // one (flite) may still speak.
        const QStringList engines = QTextToSpeech::availableEngines();
        for (qsizetype i = 0; i < engines.size() && m_tts->state() == QTextToSpeech::Error; ++i)
            if (engines[i] != m_tts->engine())
                m_tts = std::make_unique<QTextToSpeech>(engines[i]);
        QObject::connect(m_tts.get(), &QTextToSpeech::stateChanged, m_tts.get(),
                         [this](QTextToSpeech::State state) { onState(int(state)); });
    }
    if (m_tts->state() == QTextToSpeech::Error) {
        m_host.logOnce(QStringLiteral("tts:engine"),
                       QStringLiteral("speech synthesis is not available (engine \"%1\": %2)")
                           .arg(m_tts->engine(), m_tts->errorString()));
        return false;
    }
    return true;
}

void TextToSpeechSynth::speak(const Utterance &utterance)
{
    if (m_phase != Phase::Idle || !ensureEngine())
        return;
    m_tts->setLocale(utterance.language.isEmpty() ? QLocale::system() : QLocale(utterance.language));
    m_tts->setRate(utterance.rate);
    m_tts->setPitch(utterance.pitch);
    m_tts->setVolume(utterance.volume);
    m_postDelayMs = utterance.postDelayMs;
    m_stopRequested = false;
    m_phase = Phase::Starting;
    if (utterance.text.trimmed().isEmpty()) {
        // Engines say nothing about an empty text; it still has to end.
        m_afterSpeech = m_scheduler.singleShot(
            0, [this] { finish(Event::Finished); }, m_tts.get());
        return;
    }
    m_tts->say(utterance.text);
}

bool TextToSpeechSynth::stop(Boundary boundary)
{
    if (m_phase == Phase::Idle)
        return false;
    if (m_afterSpeech != Scheduler::kNoTimer) {
        // Nothing is sounding: the post delay, or an empty text.
        cancelTimer(m_scheduler, m_afterSpeech);
        finish(Event::Cancelled);
    } else {
        m_stopRequested = true;
        m_tts->stop(hint(boundary));
    }
    return true;
}

bool TextToSpeechSynth::pause(Boundary boundary)
{
    if (m_phase != Phase::Speaking)
        return false;
    m_tts->pause(hint(boundary));
    return true;
}

void TextToSpeechSynth::resume()
{
    if (m_phase == Phase::Paused)
        m_tts->resume();
}

void TextToSpeechSynth::onState(int state)
{
    switch (QTextToSpeech::State(state)) {
    case QTextToSpeech::Speaking:
        if (m_phase == Phase::Starting || m_phase == Phase::Paused) {
            const bool resumed = m_phase == Phase::Paused;
            m_phase = Phase::Speaking;
            report(resumed ? Event::Resumed : Event::Started);
        }
        break;
    case QTextToSpeech::Paused:
        if (m_phase == Phase::Speaking) {
            m_phase = Phase::Paused;
            report(Event::Paused);
        }
        break;
    case QTextToSpeech::Ready:
        if (m_phase == Phase::Idle || m_phase == Phase::AfterSpeech)
            break;
        if (m_stopRequested) {
            finish(Event::Cancelled);
        } else {
            m_phase = Phase::AfterSpeech;
            m_afterSpeech = m_scheduler.singleShot(
                m_postDelayMs, [this] { finish(Event::Finished); }, m_tts.get());
        }
        break;
    case QTextToSpeech::Error:
        // Nothing more comes of this utterance; callers keep what they had.
        qxWarning("tts") << "speech synthesis failed:" << m_tts->errorString();
        cancelTimer(m_scheduler, m_afterSpeech);
        m_phase = Phase::Idle;
        break;
    }
}

void TextToSpeechSynth::finish(Event event)
{
    m_afterSpeech = Scheduler::kNoTimer;
    m_phase = Phase::Idle;
    m_stopRequested = false;
    report(event);
}

void TextToSpeechSynth::report(Event event)
{
    if (m_handler)
        m_handler(event);
}

} // namespace platform::linuxbackend
