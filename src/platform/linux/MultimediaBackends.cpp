#include "MultimediaBackends.h"

#include "PZLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QStringList>

namespace platform::linuxbackend {
namespace {

constexpr int kUnavailable = 1; // QAudio::OpenError, as the module's microphone says it

// The module's entry points, resolved once (main thread).
struct Module {
    IMicrophone *(*createMicrophone)() = nullptr;
    IUrlAudioPlayer *(*createUrlAudioPlayer)() = nullptr;
};

} // namespace

QStringList multimediaModuleDirs(const QString &programDir)
{
    return {programDir, QDir::cleanPath(programDir + QStringLiteral("/" QX_MULTIMEDIA_MODULE_RELDIR)),
            QStringLiteral(QX_MULTIMEDIA_MODULE_DIR), QStringLiteral(QX_MULTIMEDIA_BUILD_DIR)};
}

namespace {

const Module &module()
{
    static const Module loaded = [] {
        Module m;
        QStringList errors;
        for (const QString &dir : multimediaModuleDirs(QCoreApplication::applicationDirPath())) {
            // Never unloaded: the objects it made live until exit.
            QLibrary lib(dir + QStringLiteral("/libqx_multimedia.so"));
            if (!lib.load()) {
                errors << lib.errorString();
                continue;
            }
            m.createMicrophone = reinterpret_cast<decltype(m.createMicrophone)>(lib.resolve("qxCreateMicrophone"));
            m.createUrlAudioPlayer =
                reinterpret_cast<decltype(m.createUrlAudioPlayer)>(lib.resolve("qxCreateUrlAudioPlayer"));
            if (m.createMicrophone && m.createUrlAudioPlayer)
                return m;
            errors << lib.errorString();
            m = {};
        }
        qxLogOnce(QStringLiteral("multimedia:module"),
                  QStringLiteral("the audio module cannot be loaded (%1); the computer's microphone and audio "
                                 "playback are not available")
                      .arg(errors.join(QStringLiteral("; "))));
        return m;
    }();
    return loaded;
}

class LazyMicrophone final : public IMicrophone {
public:
    int open() override { return real() ? m_real->open() : kUnavailable; }
    int start(DataFn data, FailFn failed) override
    {
        return real() ? m_real->start(std::move(data), std::move(failed)) : kUnavailable;
    }
    int close(QByteArray &rest) override { return m_real ? m_real->close(rest) : 0; }

private:
    bool real()
    {
        if (!m_real && module().createMicrophone)
            m_real.reset(module().createMicrophone());
        return bool(m_real);
    }
    std::unique_ptr<IMicrophone> m_real;
};

class LazyUrlAudioPlayer final : public IUrlAudioPlayer {
public:
    void play(const QUrl &url) override
    {
        if (!m_real && module().createUrlAudioPlayer)
            m_real.reset(module().createUrlAudioPlayer());
        if (m_real)
            m_real->play(url);
    }
    void pause() override
    {
        if (m_real)
            m_real->pause();
    }

private:
    std::unique_ptr<IUrlAudioPlayer> m_real;
};

} // namespace

std::unique_ptr<IMicrophone> createMicrophone()
{
    return std::make_unique<LazyMicrophone>();
}

std::unique_ptr<IUrlAudioPlayer> createUrlAudioPlayer()
{
    return std::make_unique<LazyUrlAudioPlayer>();
}

} // namespace platform::linuxbackend
