#pragma once

// The voice-key dispatcher's neighbours that a bench does not measure: each does nothing.

#include "asr/IAsrService.h"
#include "delivery/IVoiceCommandRunner.h"
#include "services/IAIWindow.h"
#include "services/IKeyPressManager.h"
#include "translation/ISpeechTranslator.h"

namespace bench {

struct NoAsr : IAsrService {
    void beginAsrIsTransferAudio(bool, ResultBlock) override {}
    void endAsr() override {}
    void cancelAsr() override {}
    void addStatusListener(ISpeechStatusListener *) override {}
    void removeStatusListener(ISpeechStatusListener *) override {}
    bool isSocketOpen() const override { return true; }
};
struct NoKeys : IKeyPressManager {
    void handlePressKeyEvent(int, int) override {}
};
struct NoTranslation : ISpeechTranslator {
    void resetTranslation() override {}
    void speechManagerRecognitionStatusChangeRecognizingAsr(const QString &, const QString &, int) override {}
    void requestTranslateText(const QString &, const QString &, const QString &, TranslateCallback) override {}
};
struct NoCommands : IVoiceCommandRunner {
    bool runSpokenCommand(const QString &, QString *) override { return false; }
    bool openFileWithCmdPath(const QString &, const QString &) override { return false; }
};
struct NoAI : IAIWindow {
    void showInWindow() override {}
    void hiddenWindow() override {}
    void requestChatGPT(const QString &) override {}
    void requestChatGPT(const QString &, const QString &) override {}
    void requestChatGPT(const QString &, const QString &, bool) override {}
    void initSubViews() override {}
    void refresh() override {}
    void clearAllWebsiteData() override {}
    bool isWebWindowFullScreen() const override { return false; }
    void leaveWebWindowFullScreen() override {}
};

} // namespace bench
