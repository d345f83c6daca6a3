// The real application on a fresh data folder, as a new user meets it: the receiver
// connects and the maker's server keeps a common voice command, which works by voice
// before any tab was opened. (The whole-application walk has the firmware offer on a
// software tab opened after the image arrived.)
#include "VoiceRig.h"

#include "LocalHttpServer.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

using namespace voice_rig;
using S = LocalSpeechServer;

const QByteArray kWord = "good morning";
const QByteArray kText = "bonjour tout le monde";

class DayLateTabsE2E : public VoiceE2E {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X server; run under xvfb-run";
        VoiceE2E::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        api.setHandler([this](const HttpRequestRecord &r) { return answer(r); });
    }
    HttpScriptedReply answer(const HttpRequestRecord &r)
    {
        const auto json = [](const QJsonValue &data) {
            return HttpScriptedReply::json(
                QJsonDocument(QJsonObject{{"rc", 0}, {"msg", "ok"}, {"data", data}}).toJson());
        };
        if (r.path.endsWith("/commonCmd"))
            return json(QJsonArray{QJsonObject{{"customCmd", QString::fromLatin1(kWord)},
                                               {"customName", QString::fromLatin1(kText)},
                                               {"cmdType", "text"}}});
        if (r.path.endsWith("/deviceCmd"))
            return json(QJsonArray{});
        if (r.path.endsWith("/getModelInfo"))
            return json(QJsonObject{{"sno", "DAY-SNO"}});
        return HttpScriptedReply::html(404, "<p>not here</p>");
    }
    LocalHttpServer api;
};

TEST_F(DayLateTabsE2E, AServerCommonCommandWorksByVoiceBeforeAnyTabWasOpened)
{
    QProcessEnvironment env;
    env.insert("QX_API_BASE", api.baseUrl());
    launch(Receiver{0x3151, 0x22AB, 0xFF05, "E2E"}, env);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(pump([&] { return api.requestCount() >= 2; }, 10000)) << diag();

    // The common command's words, with the search key: its text is typed into the
    // other application, though the personalisation tab was never opened.
    {
        focusTarget();
        server.onFrame(1, {});
        server.onEnd({S::reply("FIN", QString::fromLatin1(kWord)), S::reply("LAST", "")});
        QElapsedTimer held;
        held.start();
        send(framed(kSearchDown));
        ASSERT_TRUE(pump([&] { return heard("0da54d04624c"); }, 10000)) << diag();
        ASSERT_TRUE(pump([&] { return recognitionOpen(); }, 10000)) << diag();
        send(framed(kVoiceStart));
        speak(8000);
        // A search press shorter than 1.5 s is abandoned.
        pump([] { return false; }, std::max(0, 1700 - int(held.elapsed())));
        send(framed(kSearchUp));
        ASSERT_TRUE(pump([&] { return heard("0da54d04634c"); }, 10000)) << diag();
        send(framed(kVoiceEnd));
        EXPECT_TRUE(pump([&] { return m_text == QString::fromLatin1(kText); }, 10000)) << diag();
    }

    EXPECT_EQ(m_app->terminate(), 0);
}

} // namespace
