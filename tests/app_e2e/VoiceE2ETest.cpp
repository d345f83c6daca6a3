// Voice typing in the running application: the voice key, speech from the mouse (its
// ADPCM as it sent it) or from the computer's microphone, the speech server's text in
// another application's field; and what a bad server, an unplugged receiver or a
// vanished field leave behind: a running application, a closed pop-up, no text twice.
#include "VoiceRig.h"

#include <cmath>

namespace {

using namespace voice_rig;
using S = LocalSpeechServer;

const Receiver kPointer{0x3151, 0x22AB, 0xFF05, "E2E"};

TEST_F(VoiceE2E, MouseSpeechBecomesTextInTheFocusedFieldOfAnotherApplication)
{
    server.onFrame(3, {S::reply("MID", "hello")});
    server.onEnd({S::reply("FIN", QString::fromLatin1(kPhrase)), S::reply("LAST", "")});
    launch(kPointer);
    send(framed(kPointerVoiceKey));
    ASSERT_TRUE(pump([&] { return heard("0da54d04624c"); }, 10000)) << diag();
    ASSERT_TRUE(pump([&] { return recognitionOpen(); }, 10000)) << diag();
    EXPECT_EQ(shownWindows(), m_baseWindows + 1) << "the speech pop-up";
    send(framed(kVoiceStart));
    speak(m_samples.size());
    send(framed(kPointerVoiceKey));
    ASSERT_TRUE(pump([&] { return heard("0da54d04634c"); }, 5000)) << diag();
    send(framed(kVoiceEnd));
    ASSERT_TRUE(pump([&] { return m_text == QLatin1String(kPhrase); }, 10000)) << diag();
    // The mouse's ADPCM goes out as it came, 50 bytes a report. (The rig hands the
    // application one report a read, as a hidraw node does.)
    const QByteArray sent = server.audio();
    qsizetype at = 0, found = 0;
    QStringList lost; // the numbers of the reports whose voice never went out
    for (qsizetype i = 0; i + 50 <= sent.size(); i += 50, at += 50) {
        for (; at + 50 <= m_spokenAdpcm.size() && m_spokenAdpcm.mid(at, 50) != sent.mid(i, 50); at += 50)
            lost << QString::number(at / 50);
        found += at + 50 <= m_spokenAdpcm.size();
    }
    for (; at + 50 <= m_spokenAdpcm.size(); at += 50)
        lost << QString::number(at / 50);
    EXPECT_EQ(found * 50, sent.size()) << "every unit the mouse's, in order";
    EXPECT_GE(sent.size(), m_spokenAdpcm.size() * 9 / 10)
        << "lost of " << m_spokenAdpcm.size() / 50 << ": " << lost.join(' ').toStdString() << "; " << diag();
    EXPECT_EQ(server.frames.first().value("format"), "adpcm");
    EXPECT_TRUE(pump([&] { return shownWindows() == m_baseWindows; }, 5000)) << "the pop-up closes";
    EXPECT_EQ(m_typed, 1);
    EXPECT_EQ(m_app->terminate(), 0) << m_app->output().toStdString();
}

// A receiver that is a microphone ("MIC"): the voice comes from the computer's default
// input, which plays the phrase.
TEST_F(VoiceE2E, MicrophoneSpeechBecomesTextInTheFocusedField)
{
    QFile raw(m_pulse->dir() + "/phrase.raw");
    ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
    raw.write(reinterpret_cast<const char *>(m_samples.data()), qint64(m_samples.size() * 2));
    raw.close();
    server.onEnd({S::reply("FIN", QString::fromLatin1(kPhrase)), S::reply("LAST", "")});
    Receiver mic = kPointer;
    mic.product = "2.4G MIC";
    mic.usagePage = 0x0001;
    mic.usage = 6;
    launch(mic);
    send(framed(kPointerVoiceKey));
    ASSERT_TRUE(pump([&] { return recognitionOpen(); }, 10000)) << diag();
    // The phrase plays once the microphone delivers (silence so far).
    ASSERT_TRUE(pump([&] { return server.frames.size() >= 2; }, 10000)) << diag();
    auto play = m_pulse->startClient(
        "paplay", {"--raw", "--rate=16000", "--channels=1", "--format=s16le", "--device=qxsink", raw.fileName()});
    ASSERT_TRUE(pump([&] { return play->state() == QProcess::NotRunning; }, 20000));
    send(framed(kPointerVoiceKey));
    ASSERT_TRUE(pump([&] { return m_text == QLatin1String(kPhrase); }, 10000)) << diag();
    EXPECT_EQ(server.frames.first().value("format"), "pcm");
    const QByteArray pcm = server.audio();
    double energy = 0;
    for (qsizetype i = 0; i + 1 < pcm.size(); i += 2)
        energy += std::pow(qFromLittleEndian<qint16>(pcm.constData() + i), 2);
    EXPECT_GT(pcm.size(), qsizetype(m_samples.size())) << "the whole phrase was recorded";
    EXPECT_GT(std::sqrt(energy / double(pcm.size() / 2)), 300.0) << "speech, not silence" << diag();
    EXPECT_EQ(m_typed, 1);
    EXPECT_EQ(m_app->terminate(), 0) << m_app->output().toStdString();
}

// One application through every bad turn, one after another.
TEST_F(VoiceE2E, BadServersAnUnpluggedReceiverAndAVanishedFieldLeaveNoTrace)
{
    enum Turn { Plain, Unplug, KillField };
    const struct Row {
        const char *what;
        std::function<void(LocalSpeechServer &)> script;
        Turn turn;
        const char *logLine; // in the user log or the console log once more after this row
        int typed;           // paste chords typed
    } rows[] = {
        {"handshake refused", [](S &s) { s.setRefuseHandshake(true); }, Plain, "连接socket失败", 0},
        {"closed without LAST",
         [](S &s) {
             s.setRefuseHandshake(false);
             s.onFrame(1, {S::reply("MID", "half")});
             s.onEnd({S::close()});
         },
         Plain, "closed the connection without a last result", 1},
        {"garbage answers",
         [](S &s) {
             s.onFrame(1, {S::text("{not json"), S::binary("\x01\x02"), S::text(R"({"status":"x","data":7})")});
             s.onEnd({S::text("]]"), S::drop()});
         },
         Plain, "reply that is not the speech service's", 0},
        {"field gone before the text",
         [](S &s) {
             s.onFrame(1, {});
             s.onEnd({S::reply("FIN", "lost"), S::reply("LAST", "").after(500)});
         },
         KillField, "开始录音", 1},
        {"receiver unplugged mid-sentence", [](S &s) { s.onEnd({S::reply("LAST", "never")}); }, Unplug, "接收器拔出",
         0},
    };
    launch(kPointer);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        row.script(server);
        const auto logged = [&] {
            return int(AppProcess::userLog(m_root.path()).count(row.logLine) + m_app->output().count(row.logLine));
        };
        const int before = logged();
        const int typed = m_typed;
        m_opened = int(AppProcess::userLog(m_root.path()).count("开始录音"));
        pump([] { return false; }, 1600); // past the start guard
        send(framed(kPointerVoiceKey));
        ASSERT_TRUE(pump([&] { return heard("0da54d04624c"); }, 5000));
        pump([&] { return recognitionOpen(); }, 3000);
        send(framed(kVoiceStart));
        speak(4000, [&](int i) {
            if (i == 20 && row.turn == Unplug)
                unplug();
        });
        if (row.turn != Unplug) {
            send(framed(kPointerVoiceKey));
            pump([&] { return heard("0da54d04634c"); }, 5000);
            send(framed(kVoiceEnd));
        }
        if (row.turn == KillField) {
            ASSERT_TRUE(pump([&] { return !server.frames.isEmpty() && server.frames.last().end; }, 5000));
            m_target.kill();
            m_target.waitForFinished(2000);
        }
        // The end time-out (3 s) has run by now whatever the server did (the rest of the
        // wait is for a machine loaded far past its cores).
        EXPECT_TRUE(pump([&] { return shownWindows() == m_baseWindows; }, 10000)) << "the pop-up closes" << diag();
        pump([] { return false; }, 500);
        EXPECT_TRUE(m_app->running()) << m_app->output().toStdString();
        EXPECT_EQ(m_typed - typed, row.typed);
        EXPECT_EQ(logged() - before, 1) << row.logLine;
        if (row.turn == KillField)
            startTarget();
    }
    EXPECT_EQ(m_app->terminate(), 0) << m_app->output().toStdString();
}

} // namespace
