#include "QtSpeechSynth.h"

#include "ModuleLoader.h"
#include "PZLog.h"

namespace platform::linuxbackend {
namespace {

using CreateSynth = ISpeechSynth *(*)(const ModuleHost *);

CreateSynth moduleEntry()
{
    static const CreateSynth create = [] {
        QString error;
        const QList<QFunctionPointer> found =
            loadModule(QStringLiteral("libqx_speech.so"), {"qxCreateSpeechSynth"}, &error);
        if (found.isEmpty())
            qxLogOnce(QStringLiteral("tts:module"),
                      QStringLiteral("the speech module cannot be loaded (%1); speech synthesis is not available")
                          .arg(error));
        return found.isEmpty() ? nullptr : reinterpret_cast<CreateSynth>(found.first());
    }();
    return create;
}

} // namespace

QtSpeechSynth::QtSpeechSynth(Scheduler &scheduler) : m_scheduler(scheduler) {}

QtSpeechSynth::~QtSpeechSynth() = default;

void QtSpeechSynth::setEventHandler(EventFn handler)
{
    m_handler = std::move(handler);
    if (m_real)
        m_real->setEventHandler(m_handler);
}

void QtSpeechSynth::speak(const Utterance &utterance)
{
    if (!m_real) {
        const CreateSynth create = moduleEntry();
        if (!create)
            return;
        const ModuleHost host = moduleHost(m_scheduler);
        m_real.reset(create(&host));
        m_real->setEventHandler(m_handler);
    }
    m_real->speak(utterance);
}

void QtSpeechSynth::resume()
{
    if (m_real)
        m_real->resume();
}

} // namespace platform::linuxbackend
