// Audio in and out against a private PulseAudio daemon: a tone played into a null sink
// comes back through a remap source, Qt Multimedia's microphone, the capture and the
// speech service as 1280-byte frames of that tone; the default input follows a device's name; and
// speech synthesis runs on whatever engine the machine has.
#include "CapturedMessages.h"
#include "LocalSpeechServer.h"
#include "PZLog.h"
#include "PrivatePulseAudio.h"
#include "ScopedUserInfoData.h"

#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXMouseCommandManager.h"
#include "asr/QXWebApiAsrService.h"
#include "audio/DefaultInputDevice.h"
#include "audio/QXAudioQueueCapture.h"
#include "platform/linux/MultimediaBackends.h"
#include "platform/linux/PulseDefaultInputSwitcher.h"
#include "platform/linux/QtSpeechSynth.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTextToSpeech>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kRate = 16000;
constexpr double kToneHz = 1000.0;
constexpr double kToneAmplitude = 16000.0;

// Two outputs with a microphone behind each: "Quorvex" records what plays on
// "QuorvexOut", "Other" is the default input to begin with.
const char *kScript = "load-module module-null-sink sink_name=qxsink sink_properties=device.description=QuorvexOut\n"
                      "load-module module-remap-source master=qxsink.monitor source_name=qxmic "
                      "source_properties=device.description=Quorvex\n"
                      "load-module module-null-sink sink_name=othersink sink_properties=device.description=OtherOut\n"
                      "load-module module-remap-source master=othersink.monitor source_name=othermic "
                      "source_properties=device.description=Other\n"
                      "set-default-sink othersink\n"
                      "set-default-source othermic";

// The test tone as raw 16 kHz mono 16-bit samples.
QByteArray tonePcm(double seconds)
{
    QByteArray data(int(seconds * kRate) * 2, '\0');
    for (int i = 0; i < data.size() / 2; ++i)
        qToLittleEndian<qint16>(qint16(std::lround(kToneAmplitude * std::sin(2 * M_PI * kToneHz * i / kRate))),
                                data.data() + 2 * i);
    return data;
}

class Vox4Pulse : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pulse = std::make_unique<PrivatePulseAudio>(QString::fromLatin1(kScript));
        if (!m_pulse->installed())
            GTEST_SKIP() << m_pulse->error().toStdString();
        ASSERT_TRUE(m_pulse->error().isEmpty()) << m_pulse->error().toStdString();
        m_tone = m_pulse->dir() + "/tone.raw";
        QFile f(m_tone);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(tonePcm(3.0));
    }

    std::unique_ptr<PrivatePulseAudio> m_pulse;
    QString m_tone;
};

TEST_F(Vox4Pulse, TheDefaultInputFollowsAnInputsExactName)
{
    platform::linuxbackend::PulseDefaultInputSwitcher switcher;
    EXPECT_EQ(m_pulse->pactl({"get-default-source"}), "othermic");
    for (const char *notAnInput : {"QuorvexOut", "quorvex", "", "Monitor of QuorvexOut "}) {
        EXPECT_EQ(set_default_input_device_by_name(switcher, notAnInput), platform::InputSwitch::NotFound)
            << notAnInput;
    }
    EXPECT_EQ(m_pulse->pactl({"get-default-source"}), "othermic") << "unchanged";
    EXPECT_EQ(set_default_input_device_by_name(switcher, "Quorvex"), platform::InputSwitch::Changed);
    EXPECT_EQ(m_pulse->pactl({"get-default-source"}), "qxmic");
}

// Through the speech service to the local speech server, as a recognition sends it.
TEST_F(Vox4Pulse, AToneArrivesAtTheSpeechServiceAsWholeChunksOfThatTone)
{
    ASSERT_EQ(platform::linuxbackend::PulseDefaultInputSwitcher().setByName("Quorvex"), platform::InputSwitch::Changed);
    const auto microphone = platform::linuxbackend::createMicrophone();
    QXAudioQueueCapture capture(*microphone);
    ScopedUserInfoData state;
    QXHidCommandManager hid;
    QXBLEMouseCommandManager ble;
    QXMouseCommandManager facade{hid, ble};
    facade.setIsFromMicData(true);
    LocalSpeechServer server;
    QXWebApiAsrService asr({.state = &state.state(),
                            .languages = &state.languages(),
                            .device = &facade,
                            .microphone = &capture,
                            .serviceBase = server.base()});
    asr.beginAsrIsTransferAudio(false, {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return capture.isRecording(); }, 5000));
    const auto player = m_pulse->startClient(
        "pacat", {"--playback", "--raw", "--format=s16le", "--rate=16000", "--channels=1", "-d", "qxsink", m_tone});
    // About a second of the tone, however it is cut up on the way.
    const auto loudChunks = [&] {
        int n = 0;
        for (const SpeechFrame &f : server.frames)
            n += f.content.size() > 600 && qAbs(qFromLittleEndian<qint16>(f.content.constData() + 600)) > 1000;
        return n;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return loudChunks() >= 25; }, 15000)) << server.frames.size() << " frames";
    asr.endAsr();
    // The stop's padded rest is the last chunk, sent as the end frame.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.frames.isEmpty() && server.frames.last().end; }, 5000));
    ASSERT_GE(server.frames.size(), 26);
    for (int i = 0; i < server.frames.size(); ++i) {
        ASSERT_EQ(server.frames[i].content.size(), 1280) << "frame " << i;
        EXPECT_EQ(server.frames[i].end, i == server.frames.size() - 1) << "frame " << i;
    }

    // The loud middle of the recording is the tone: its pitch from the zero crossings,
    // its strength from the root mean square (sin peak / sqrt 2), through two resamplings.
    const QByteArray all = server.audio();
    const int count = int(all.size() / 2);
    int first = 0;
    while (first < count && qAbs(qFromLittleEndian<qint16>(all.constData() + 2 * first)) < 1000)
        ++first;
    const int begin = first + kRate / 10, length = kRate / 2;
    ASSERT_LE(begin + length, count);
    int crossings = 0;
    double squares = 0;
    for (int i = begin; i < begin + length; ++i) {
        const qint16 a = qFromLittleEndian<qint16>(all.constData() + 2 * i);
        const qint16 b = qFromLittleEndian<qint16>(all.constData() + 2 * i + 2);
        crossings += (a < 0) != (b < 0);
        squares += double(a) * a;
    }
    EXPECT_NEAR(crossings / 2.0 / (double(length) / kRate), kToneHz, 10.0);
    EXPECT_NEAR(std::sqrt(squares / length), kToneAmplitude / std::sqrt(2.0), kToneAmplitude * 0.1);
}

// Whatever the machine has: speech-dispatcher, another engine, or none that works. It
// ends within time, and what it reports is in order.
TEST_F(Vox4Pulse, SpeechSynthesisRunsOrSaysItCannot)
{
    platform::linuxbackend::QtSpeechSynth synth;
    QList<platform::ISpeechSynth::Event> events;
    synth.setEventHandler([&](platform::ISpeechSynth::Event e) { events << e; });
    CapturedMessages messages;
    for (int i = 0; i < 2; ++i) {
        synth.speak({QStringLiteral("Quorvex"), QStringLiteral("en_US"), 0.0, 0.0, 1.0, 100});
        EXPECT_TRUE(QTest::qWaitFor([&] { return !synth.isSpeaking(); }, 20000));
    }
    // Whichever engine of the machine works speaks, the preferred one or another.
    bool anyEngineWorks = false;
    for (const QString &engine : QTextToSpeech::availableEngines())
        anyEngineWorks = anyEngineWorks || QTextToSpeech(engine).state() != QTextToSpeech::Error;
    if (anyEngineWorks) {
        ASSERT_FALSE(events.isEmpty());
        EXPECT_EQ(events.first(), platform::ISpeechSynth::Event::Started);
        EXPECT_LE(events.count(platform::ISpeechSynth::Event::Finished), 2);
    } else {
        // None does: nothing happens, and the log says so once for both requests.
        EXPECT_TRUE(events.isEmpty());
        EXPECT_FALSE(synth.isSpeaking());
        EXPECT_TRUE(qxLoggedOnce(QStringLiteral("tts:engine")));
        EXPECT_EQ(messages.with("speech synthesis is not available").size(), 1);
    }
}

TEST(Vox4NoSoundServer, NothingIsRecordedAndNothingChanges)
{
    QTemporaryDir dir;
    ScopedEnv server("PULSE_SERVER", ("unix:" + dir.filePath("nobody-listens")).toUtf8());
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(platform::linuxbackend::PulseDefaultInputSwitcher().setByName("Quorvex"), platform::InputSwitch::Error);
    const auto microphone = platform::linuxbackend::createMicrophone();
    QXAudioQueueCapture capture(*microphone);
    QList<QByteArray> chunks;
    capture.startRecordWithBlock([&](const QByteArray &c) { chunks << c; });
    capture.stopRecord();
    EXPECT_TRUE(chunks.isEmpty());
    EXPECT_LT(timer.elapsed(), 5000);
}

} // namespace
