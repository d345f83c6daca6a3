#include "PlatformServices.h"

#include "PZLog.h"

#include <QMimeData>
#include <QUrl>

namespace platform {
namespace {

void unavailable(const char *service)
{
    qxLogOnce(QStringLiteral("platform:%1").arg(service),
              QStringLiteral("%1 is not available in this session; the call is ignored").arg(service));
}

struct NoKeyPoster final : IKeyPoster {
    bool isAvailable() const override { return false; }
    bool postKeyStroke(int, quint64) override
    {
        unavailable("key synthesis");
        return false;
    }
};

struct NoClipboard final : IClipboard {
    QString text() const override { return {}; }
    void clear() override { unavailable("clipboard"); }
    bool setText(const QString &) override
    {
        unavailable("clipboard");
        return false;
    }
    bool setWatchedText(const QString &text, std::function<void()>) override { return setText(text); }
    bool setImage(const QImage &) override
    {
        unavailable("clipboard");
        return false;
    }
    QString selectionText() const override { return {}; }
    std::unique_ptr<QMimeData> snapshot() const override { return nullptr; }
    void restore(std::unique_ptr<QMimeData>) override {}
};

struct NoMouseMonitor final : IGlobalMouseMonitor {
    bool isAvailable() const override { return false; }
    Token add(quint64, Handler) override
    {
        unavailable("global mouse monitor");
        return kNoToken;
    }
    void remove(Token) override {}
};

struct NoVolume final : ISystemVolume {
    quint32 defaultOutputDevice() override
    {
        unavailable("system volume");
        return 0;
    }
    std::optional<float> volume(quint32) override { return std::nullopt; }
    bool isVolumeSettable(quint32) override { return false; }
    bool setVolume(quint32, float) override { return false; }
    std::optional<bool> muted(quint32) override { return std::nullopt; }
    bool isMuteSettable(quint32) override { return false; }
    bool setMuted(quint32, bool) override { return false; }
};

struct NoWorkspace final : IWorkspace {
    bool openUrl(const QUrl &url) override
    {
        unavailable("opening files and web addresses");
        qxInfo("platform") << "not opened:" << url.toDisplayString();
        return false;
    }
};

struct NoShortcuts final : IGlobalShortcuts {
    bool isAvailable() const override { return false; }
    Token grab(int, quint64, Action) override
    {
        unavailable("global shortcuts");
        return kNoToken;
    }
    void release(Token) override {}
};

PlatformServices withStandIns(PlatformServices s)
{
    static NoKeyPoster keyPoster;
    static NoClipboard clipboard;
    static NoMouseMonitor mouseMonitor;
    static NoVolume volume;
    static NoWorkspace workspace;
    static NoShortcuts shortcuts;
    if (!s.keyPoster)
        s.keyPoster = &keyPoster;
    if (!s.clipboard)
        s.clipboard = &clipboard;
    if (!s.mouseMonitor)
        s.mouseMonitor = &mouseMonitor;
    if (!s.volume)
        s.volume = &volume;
    if (!s.workspace)
        s.workspace = &workspace;
    if (!s.shortcuts)
        s.shortcuts = &shortcuts;
    return s;
}

PlatformServices &current()
{
    static PlatformServices s = withStandIns({});
    return s;
}

} // namespace

PlatformServices &services()
{
    return current();
}

PlatformServices installServices(const PlatformServices &s)
{
    PlatformServices previous = current();
    current() = withStandIns(s);
    return previous;
}

} // namespace platform
