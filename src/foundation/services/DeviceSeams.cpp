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
    bool isWebWindowFullScreen() const override { return false; }
    void leaveWebWindowFullScreen() override {}
};
struct NoTranslate final : ITranslateManager {
    void snipTranslate() override { missing("translation"); }
    void hyperTranslate() override { missing("translation"); }
};

} // namespace

DeviceSeams DeviceSeams::resolved() const
{
    static VoiceKeyState keyState;
    static NoVoice voiceStandIn;
    static NoLaserPen laserPenStandIn;
    static NoTips tipsStandIn;
    static NoSpeech speechStandIn;
    static NoAIWindow aiStandIn;
    static NoTranslate translateStandIn;
    DeviceSeams s = *this;
    if (!s.keys)
        s.keys = &keyState;
    if (!s.voice)
        s.voice = &voiceStandIn;
    if (!s.laserPen)
        s.laserPen = &laserPenStandIn;
    if (!s.tips)
        s.tips = &tipsStandIn;
    if (!s.speech)
        s.speech = &speechStandIn;
    if (!s.aiWindow)
        s.aiWindow = &aiStandIn;
    if (!s.translate)
        s.translate = &translateStandIn;
    return s;
}
