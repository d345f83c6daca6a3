#include "Neighbours.h"

#include "PZLog.h"

namespace {

void missing(const char *service)
{
    qxLogOnce(QStringLiteral("neighbour:%1").arg(service),
              QStringLiteral("%1 is not part of this build; the call is ignored").arg(service));
}

struct NoVoice final : IVoiceKeyDispatcher {
    bool m_hadStart = false, m_translate = false, m_reset = false;
    int m_press = 0;
    void hidCallbackType(int) override { missing("voice-key dispatcher"); }
    void cancelAsr() override { missing("voice-key dispatcher"); }
    bool hadStart() const override { return m_hadStart; }
    void setHadStart(bool on) override { m_hadStart = on; }
    bool isTranslate() const override { return m_translate; }
    void setIsTranslate(bool on) override { m_translate = on; }
    int pressType() const override { return m_press; }
    void setPressType(int t) override { m_press = t; }
    bool isResetKey() const override { return m_reset; }
    void setIsResetKey(bool on) override { m_reset = on; }
    void endIMouseMonitor() override { missing("voice-key dispatcher"); }
};
struct NoKeyPress final : IKeyPressManager {
    int m_last = 0;
    int lastPressType() const override { return m_last; }
    void setLastPressType(int t) override { m_last = t; }
    void handlePressKeyEvent(int, int) override { missing("key actions"); }
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
    int m_mode = 1;
    void changeLaserPenStatus(bool) override { missing("pointer overlay"); }
    void showLaserPenEffect() override { missing("pointer overlay"); }
    void dismissEffect() override { missing("pointer overlay"); }
    bool hasShowEffecf() const override { return false; }
    void clearDraw() override {}
    int vioceMode() const override { return m_mode; }
    void setVioceMode(int mode) override { m_mode = mode; }
};
struct NoAIWindow final : IAIWindow {
    void showInWindow() override { missing("AI window"); }
    void hiddenWindow() override {}
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
struct NoShell final : IAppShell {
    QWidget *window() override { return nullptr; }
    void openApp() override { missing("main window"); }
    void manualSelectedItemWithIndex(int) override { missing("main window"); }
    bool isShowAIWindow() const override { return m_aiWindow; }
    void setIsShowAIWindow(bool on) override { m_aiWindow = on; }
    bool m_aiWindow = false;
};

Neighbours withStandIns(Neighbours n)
{
    static NoVoice voice;
    static NoKeyPress keyPress;
    static NoSpeech speech;
    static NoTips tips;
    static NoLaserPen laserPen;
    static NoAIWindow ai;
    static NoTranslate translate;
    static NoShell shell;
    if (!n.voice) n.voice = &voice;
    if (!n.keyPress) n.keyPress = &keyPress;
    if (!n.speech) n.speech = &speech;
    if (!n.tips) n.tips = &tips;
    if (!n.laserPen) n.laserPen = &laserPen;
    if (!n.aiWindow) n.aiWindow = &ai;
    if (!n.translate) n.translate = &translate;
    if (!n.shell) n.shell = &shell;
    return n;
}

Neighbours &current()
{
    static Neighbours n = withStandIns({});
    return n;
}

} // namespace

Neighbours &neighbours()
{
    return current();
}

Neighbours installNeighbours(const Neighbours &services)
{
    Neighbours previous = current();
    current() = withStandIns(services);
    return previous;
}
