#pragma once

#include "services/DeviceSeams.h"
#include "services/IAppShell.h"
#include "services/IKeyPressManager.h"
#include "services/VoiceKeyState.h"

#include <QBuffer>
#include <QStringList>

#include <utility>
#include <vector>

// Recording fakes of the higher layers' services. Every call is appended to one shared
// log as text ("hidCallbackType(33)"), so tests can check the order across services.
// The flags the device layers share with them are a plain VoiceKeyState.
struct CallLog {
    QStringList calls;
    int count(const QString &prefix) const
    {
        int n = 0;
        for (const QString &c : calls)
            n += c.startsWith(prefix) ? 1 : 0;
        return n;
    }
    void clear() { calls.clear(); }
};

class FakeVoiceKeyDispatcher : public IVoiceKeyDispatcher {
public:
    explicit FakeVoiceKeyDispatcher(CallLog &log) : m_log(log) {}
    std::vector<int> pressTypes; // every hidCallbackType argument, in order
    void hidCallbackType(int type) override
    {
        pressTypes.push_back(type);
        m_log.calls << QStringLiteral("hidCallbackType(%1)").arg(type);
    }
    void cancelAsr() override { m_log.calls << "cancelAsr"; }
    void endIMouseMonitor() override { m_log.calls << "endIMouseMonitor"; }

private:
    CallLog &m_log;
};

// The key-action handler: every press it is handed, in the shared log.
class FakeKeyPressManager : public IKeyPressManager {
public:
    explicit FakeKeyPressManager(CallLog &log) : m_log(log) {}
    void handlePressKeyEvent(int kind, int key) override
    {
        m_log.calls << QStringLiteral("handlePressKeyEvent(%1,%2)").arg(kind).arg(key);
    }

private:
    CallLog &m_log;
};

// A speech service whose recording "file" is an in-memory buffer while open.
class FakeSpeechService : public ISpeechService {
public:
    QBuffer recording;
    bool open = false;
    void startRecording()
    {
        recording.setData({});
        recording.open(QIODevice::WriteOnly);
        open = true;
    }
    void stopRecording()
    {
        recording.close();
        open = false;
    }
    QIODevice *fileHandle() override { return open ? &recording : nullptr; }
};

class FakePopupTips : public IPopupTips {
public:
    explicit FakePopupTips(CallLog &log) : m_log(log) {}
    std::vector<std::pair<QString, QString>> tips;
    void showTipMessage(const QString &text, const QString &image) override
    {
        tips.emplace_back(text, image);
        m_log.calls << QStringLiteral("showTipMessage(%1,%2)").arg(text, image);
    }

private:
    CallLog &m_log;
};

class FakeLaserPen : public ILaserPen {
public:
    explicit FakeLaserPen(CallLog &log) : m_log(log) {}
    bool showing = false;
    void changeLaserPenStatus(bool s) override { m_log.calls << QStringLiteral("changeLaserPenStatus(%1)").arg(s); }
    void showLaserPenEffect() override
    {
        showing = true;
        m_log.calls << "showLaserPenEffect";
    }
    void dismissEffect() override
    {
        showing = false;
        m_log.calls << "dismissEffect";
    }
    bool hasShowEffecf() const override { return showing; }
    void clearDraw() override { m_log.calls << "clearDraw"; }

private:
    CallLog &m_log;
};

class FakeAIWindow : public IAIWindow {
public:
    explicit FakeAIWindow(CallLog &log) : m_log(log) {}
    void showInWindow() override { m_log.calls << "showInWindow"; }
    void hiddenWindow() override { m_log.calls << "hiddenWindow"; }
    void requestChatGPT(const QString &text) override { m_log.calls << QStringLiteral("requestChatGPT(%1)").arg(text); }
    void requestChatGPT(const QString &id, const QString &c) override
    {
        m_log.calls << QStringLiteral("requestChatGPT(%1,%2)").arg(id, c);
    }
    void requestChatGPT(const QString &id, const QString &c, bool mic) override
    {
        m_log.calls << QStringLiteral("requestChatGPT(%1,%2,%3)").arg(id).arg(c).arg(mic);
    }
    void initSubViews() override { m_log.calls << "initSubViews"; }
    void refresh() override { m_log.calls << "refresh"; }
    void clearAllWebsiteData() override { m_log.calls << "clearAllWebsiteData"; }
    bool fullScreen = false;
    bool isWebWindowFullScreen() const override { return fullScreen; }
    void leaveWebWindowFullScreen() override
    {
        fullScreen = false;
        m_log.calls << "leaveWebWindowFullScreen";
    }

private:
    CallLog &m_log;
};

class FakeTranslateManager : public ITranslateManager {
public:
    explicit FakeTranslateManager(CallLog &log) : m_log(log) {}
    void snipTranslate() override { m_log.calls << "snipTranslate"; }
    void hyperTranslate() override { m_log.calls << "hyperTranslate"; }

private:
    CallLog &m_log;
};

class FakeAppShell : public IAppShell {
public:
    QWidget *mainWindow = nullptr;
    int opened = 0;
    QList<int> selected; // every manualSelectedItemWithIndex position
    bool aiWindowShown = false;
    QWidget *window() override { return mainWindow; }
    void openApp() override { ++opened; }
    void manualSelectedItemWithIndex(int index) override { selected << index; }
    bool isShowAIWindow() const override { return aiWindowShown; }
    void setIsShowAIWindow(bool on) override { aiWindowShown = on; }
};

// All fakes together, with the shared flags; seams() hands them to the handlers.
struct FakeNeighbours {
    CallLog log;
    VoiceKeyState keys;
    FakeVoiceKeyDispatcher voice{log};
    FakeKeyPressManager keyPress{log};
    FakeSpeechService speech;
    FakePopupTips tips{log};
    FakeLaserPen laserPen{log};
    FakeAIWindow aiWindow{log};
    FakeTranslateManager translate{log};
    FakeAppShell shell;

    DeviceSeams seams() { return DeviceSeams{&keys, &voice, &laserPen, &tips, &speech, &aiWindow, &translate}; }
};
