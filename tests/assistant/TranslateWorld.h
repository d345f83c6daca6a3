#pragma once

#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "NetWorld.h"
#include "NotificationRecorder.h"
#include "ScopedUserInfoData.h"

#include "QXTranslateContentView.h"
#include "QXTranslateManager.h"
#include "QXTranslateView.h"
#include "QXTranslateWindow.h"
#include "popup/QXPopupWindowTool.h"
#include "translation/ISpeechTranslator.h"
#include "translation/QXSpeechTranslation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <gtest/gtest.h>

// Answers when the test says so, so orders of arrival can be played out.
struct ScriptedTranslator : ISpeechTranslator {
    struct Call {
        QString text, from, to;
        TranslateCallback callback;
    };
    std::vector<Call> calls;
    void resetTranslation() override {}
    void speechManagerRecognitionStatusChangeRecognizingAsr(const QString &, const QString &, int) override {}
    void requestTranslateText(const QString &text, const QString &from, const QString &to,
                              TranslateCallback callback) override
    {
        calls.push_back({text, from, to, std::move(callback)});
    }
};

// Every text pair the pop-up tool hands the window, then the real window.
struct RecordingWindow : ITranslationWindow {
    explicit RecordingWindow(QXTranslateWindow &w) : window(w) {}
    QXTranslateWindow &window;
    QStringList shown;
    void showTranslateWindow(const QString &fan, const QString &yi) override
    {
        shown << fan + "|" + yi;
        window.showTranslateWindow(fan, yi);
    }
    bool isShow() const override { return window.isShow(); }
    QRect frameGeometry() const override { return window.frameGeometry(); }
    void dismissWindow() override { window.dismissWindow(); }
};

// The translation manager and window over a fresh state, the real pop-up tool, the
// maker's API on a local server (text recognition, and translation when `translator`
// is the real one), a scripted translator otherwise. Text heights are the texts' lengths;
// the screen is 1920 x 1080. Target languages: ZH_CN, EN_US, JA_JP, FR_FR.
class TranslateWorld : public ::testing::Test {
protected:
    TranslateWorld()
    {
        QJsonArray targets;
        for (const char *code : {"ZH_CN", "EN_US", "JA_JP", "FR_FR"})
            targets.append(QJsonObject{{"code", code}, {"name", QString::fromLatin1(code).toLower()}});
        languages().setToLanguageArr(targets);
        languages().setScreenshotsTranslateFromLanguageArray(QJsonArray{QJsonObject{{"code", "EN_US"}}});
        user->setWordInputSwitch(true);
        user->setScreenshotsTranslateSwitch(true);
        popups.setTranslationWindow(&recorder);
        // Queued replies first; then every translation echoes its text as "<text>".
        net.server.setHandler([](const HttpRequestRecord &r) {
            const QJsonObject data{{"text", r.queryValue("text")}, {"transText", "<" + r.queryValue("text") + ">"}};
            return HttpScriptedReply::json(QJsonDocument(QJsonObject{{"rc", 0}, {"data", data}}).toJson());
        });
    }
    QXLanguageManager &languages() { return user.languages(); }
    QXTranslateContentView &content() { return window.popContentView(); }
    QString cards() { return content().fanText() + "|" + content().yiText(); }
    void settle()
    {
        (void)QTest::qWaitFor([this] { return net.client().requestsInFlight() == 0; }, 5000);
        QCoreApplication::processEvents();
    }
    // Text recognition is not counted in flight: wait for its connection to close.
    void settleRecognition(int requestsBefore)
    {
        (void)net.server.waitForRequests(requestsBefore + 1);
        (void)QTest::qWaitFor([this] { return net.server.openConnections() == 0; }, 5000);
        QTest::qWait(50);
    }
    void select(const QString &text)
    {
        user->setPasteboardContent(text);
        manager.hyperTranslate();
    }

    NetWorld net;
    ScopedUserInfoData user;
    CallLog log;
    VoiceKeyState keys;
    FakeVoiceKeyDispatcher voice{log};
    QXPopupWindowTool popups{{&user.state(), &keys, &voice, {}, false}};
    FakeClipboard clipboard;
    FakePopupTips tips{log};
    ScriptedTranslator scripted;
    QXSpeechTranslation real{{net.client(), languages(), [] { return 0; }, [] { return false; }, {}, {}}};
    ISpeechTranslator *translator = &scripted;
    int snips = 0;
    // The window's own centre, not the process's: what it posts must reach the one it is handed.
    NotificationCenter notifications;
    QXTranslateWindow window{{&user.state(), &languages(), [this] { return popups.isScreenshotsOCR(); },
                              [this](const QString &t) { manager.translateText(t); }, &clipboard, &tips, false,
                              [](const QString &t) { return double(t.size()); }, [] { return QRect(0, 0, 1920, 1080); },
                              &notifications}};
    RecordingWindow recorder{window};
    QXTranslateManager manager{
        {&user.state(), &languages(), &popups, &net.client(), [this] { return translator; }, [this] { ++snips; }}};
    NotificationRecorder notes{notifications};
};
