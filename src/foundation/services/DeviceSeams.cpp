#include "DeviceSeams.h"

#include "PZLog.h"
#include "VoiceKeyState.h"

namespace {

void missing(const char *service)
{
    qxLogOnce(QStringLiteral("seam:%1").arg(QLatin1String(service)),
              QStringLiteral("%1 is not part of this build; the call is ignored").arg(QLatin1String(service)));
}

struct NoVoice final : IVoiceKeyDispatcher {
    void hidCallbackType(int) override { missing("voice-key dispatcher"); }
    void cancelAsr() override { missing("voice-key dispatcher"); }
    void endIMouseMonitor() override { missing("voice-key dispatcher"); }
};
struct NoSpeech final : ISpeechService {
    QIODevice *fileHandle() override { return nullptr; }
};
struct NoTips final : IPopupTips {
    void showTipMessage(const QString &text, const QString &) override
    {
        missing("tip pop-up");
        qxInfo("tips") << text;
    }
};
struct NoLaserPen final : ILaserPen {
    void changeLaserPenStatus(bool) override { missing("pointer overlay"); }
    void showLaserPenEffect() override { missing("pointer overlay"); }
    void dismissEffect() override { missing("pointer overlay"); }
    bool hasShowEffecf() const override { return false; }
    void clearDraw() override {}
};
struct NoAIWindow final : IAIWindow {
    void showInWindow() override { missing("AI window"); }
    void hiddenWindow() override {}
    void requestChatGPT(const QString &) override { missing("AI window"); }
    void requestChatGPT(const QString &, const QString &) override { missing("AI window"); }
    void requestChatGPT(const QString &, const QString &, bool) override { missing("AI window"); }
    void initSubViews() override { missing("AI window"); }
    void refresh() override { missing("AI window"); }
    void clearAllWebsiteData() override { missing("AI window"); }
    bool isWebWindowFullScreen() const override { return false; }
    void leaveWebWindowFullScreen() override {}
};
struct NoTranslate final : ITranslateManager {
    void snipTranslate() override { missing("translation"); }
    void hyperTranslate() override { missing("translation"); }
};

// One of each, shared by every resolved set of seams.
struct StandIns {
    VoiceKeyState keys;
    NoVoice voice;
    NoLaserPen laserPen;
    NoTips tips;
    NoSpeech speech;
    NoAIWindow aiWindow;
    NoTranslate translate;
};

StandIns &standIn()
{
    static StandIns s;
    return s;
}

} // namespace

DeviceSeams DeviceSeams::resolved() const
{
    StandIns &none = standIn();
    DeviceSeams s = *this;
    if (!s.keys)
        s.keys = &none.keys;
    if (!s.voice)
        s.voice = &none.voice;
    if (!s.laserPen)
        s.laserPen = &none.laserPen;
    if (!s.tips)
        s.tips = &none.tips;
    if (!s.speech)
        s.speech = &none.speech;
    if (!s.aiWindow)
        s.aiWindow = &none.aiWindow;
    if (!s.translate)
        s.translate = &none.translate;
    return s;
}

QStringList DeviceSeams::standIns() const
{
    const StandIns &none = standIn();
    QStringList out;
    const auto check = [&out](const char *name, const void *member, const void *standIn) {
        if (!member || member == standIn)
            out << QString::fromLatin1(name);
    };
    check("keys", keys, &none.keys);
    check("voice", voice, &none.voice);
    check("laserPen", laserPen, &none.laserPen);
    check("tips", tips, &none.tips);
    check("speech", speech, &none.speech);
    check("aiWindow", aiWindow, &none.aiWindow);
    check("translate", translate, &none.translate);
    static_assert(sizeof(DeviceSeams) == 7 * sizeof(void *), "a new seam is checked here too");
    return out;
}
