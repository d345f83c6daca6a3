// Audio in and out against a private PulseAudio daemon: a tone played into a null sink
// comes back through a remap source, Qt Multimedia's microphone and the capture as
// 1280-byte chunks of that tone; the default input follows a device's name; and
// speech synthesis and URL playback run on whatever engine the machine has.
#include "FakeAudio.h"
#include "PrivatePulseAudio.h"

#include "DefaultInputDevice.h"
#include "QXAudioQueueCapture.h"
#include "platform/linux/MultimediaBackends.h"
#include "platform/linux/PulseDefaultInputSwitcher.h"
#include "platform/linux/QtSpeechSynth.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
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

// A mono 16-bit WAV of the test tone.
QByteArray toneWav(double seconds)
{
    const int samples = int(seconds * kRate);
    QByteArray data(samples * 2, '\0');
    for (int i = 0; i < samples; ++i)
        qToLittleEndian<qint16>(qint16(std::lround(kToneAmplitude * std::sin(2 * M_PI * kToneHz * i / kRate))),
                                data.data() + 2 * i);
    QByteArray wav("RIFF");
    auto u32 = [&wav](quint32 v) { wav.append(reinterpret_cast<const char *>(&v), 4); };
    auto u16 = [&wav](quint16 v) { wav.append(reinterpret_cast<const char *>(&v), 2); };
    u32(quint32(36 + data.size()));
    wav += "WAVEfmt ";
    u32(16), u16(1), u16(1), u32(kRate), u32(kRate * 2), u16(2), u16(16);
    wav += "data";
    u32(quint32(data.size()));
    return wav + data;
}

class Vox4Pulse : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pulse = std::make_unique<PrivatePulseAudio>(QString::fromLatin1(kScript));
        if (!m_pulse->installed())
            GTEST_SKIP() << m_pulse->error().toStdString();
        ASSERT_TRUE(m_pulse->error().isEmpty()) << m_pulse->error().toStdString();
        m_tone = m_pulse->dir() + "/tone.wav";
        QFile f(m_tone);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(toneWav(3.0));
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

TEST_F(Vox4Pulse, AToneArrivesAsWholeChunksOfThatTone)
{
    ASSERT_EQ(platform::linuxbackend::PulseDefaultInputSwitcher().setByName("Quorvex"), platform::InputSwitch::Changed);
    const auto microphone = platform::linuxbackend::createMicrophone();
    QXAudioQueueCapture capture(*microphone);
    QList<QByteArray> chunks;
    bool stopped = false;
    capture.startRecordWithBlock([&](const QByteArray &c) {
        EXPECT_FALSE(stopped) << "nothing after the last chunk";
        stopped = !capture.isRecording();
        chunks << c;
    });
    ASSERT_TRUE(capture.isRecording());
    const auto player = m_pulse->startClient("paplay", {"-d", "qxsink", m_tone});
    // About a second of the tone, however it is cut up on the way.
    const auto loudChunks = [&] {
        int n = 0;
        for (const QByteArray &c : chunks)
            n += qAbs(qFromLittleEndian<qint16>(c.constData() + 600)) > 1000;
        return n;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return loudChunks() >= 25; }, 15000)) << chunks.size() << " chunks";
    capture.stopRecord();
    EXPECT_TRUE(stopped) << "the last chunk comes with the stop";
    ASSERT_GE(chunks.size(), 26);
    for (int i = 0; i < chunks.size(); ++i)
        ASSERT_EQ(chunks[i].size(), 1280) << "chunk " << i;

    // The loud middle of the recording is the tone: its pitch from the zero crossings,
    // its strength from the root mean square (sin peak / sqrt 2), through two resamplings.
    QByteArray all;
    for (const QByteArray &c : chunks)
        all += c;
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

// PulseAudio moves a recording whose device goes away to the next input; the capture
// carries on from there and still stops cleanly.
TEST_F(Vox4Pulse, AnInputThatGoesAwayHandsTheRecordingOn)
{
    ASSERT_EQ(platform::linuxbackend::PulseDefaultInputSwitcher().setByName("Quorvex"), platform::InputSwitch::Changed);
    const auto microphone = platform::linuxbackend::createMicrophone();
    QXAudioQueueCapture capture(*microphone);
    QList<QByteArray> chunks;
    capture.startRecordWithBlock([&](const QByteArray &c) { chunks << c; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return chunks.size() >= 3; }, 10000));
    m_pulse->pactl({"unload-module", "module-remap-source"});
    const qsizetype before = chunks.size();
    EXPECT_TRUE(QTest::qWaitFor([&] { return chunks.size() >= before + 5; }, 10000));
    EXPECT_TRUE(capture.isRecording());
    const qsizetype atStop = chunks.size();
    capture.stopRecord();
    EXPECT_GE(chunks.size(), atStop + 1);
}

TEST_F(Vox4Pulse, AUrlIsPlayedToTheDefaultOutput)
{
    const auto player = platform::linuxbackend::createUrlAudioPlayer();
    player->play(QUrl::fromLocalFile(m_tone));
    const bool streaming = QTest::qWaitFor(
        [&] {
            return m_pulse->pactl({"list", "short", "sink-inputs"}).contains("\t");
        },
        10000);
    EXPECT_TRUE(streaming) << "no playback stream reached the sound server";
    player->pause();
}

// Whatever the machine has: speech-dispatcher, another engine, or none that works. It
// ends within time, and what it reports is in order.
TEST_F(Vox4Pulse, SpeechSynthesisRunsOrSaysItCannot)
{
    platform::linuxbackend::QtSpeechSynth synth;
    QList<platform::ISpeechSynth::Event> events;
    synth.setEventHandler([&](platform::ISpeechSynth::Event e) { events << e; });
    synth.speak({QStringLiteral("Quorvex"), QStringLiteral("en_US"), 0.0, 0.0, 1.0, 100});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !synth.isSpeaking(); }, 20000));
    if (!events.isEmpty()) {
        EXPECT_EQ(events.first(), platform::ISpeechSynth::Event::Started);
    }
    EXPECT_LE(events.count(platform::ISpeechSynth::Event::Finished), 1);
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
