// Against a private PulseAudio daemon with a null sink: the system volume is really
// set, read back and muted. Also what happens when no sound server answers.
#include "AUSoundAdditions.h"
#include "PrivatePulseAudio.h"
#include "platform/linux/PulseSystemVolume.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class PrivatePulseAudioVolume : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pulse =
            std::make_unique<PrivatePulseAudio>(QStringLiteral("load-module module-null-sink sink_name=qx_test_sink\n"
                                                               "set-default-sink qx_test_sink"));
        if (!m_pulse->installed())
            GTEST_SKIP() << m_pulse->error().toStdString();
        ASSERT_TRUE(m_pulse->error().isEmpty()) << m_pulse->error().toStdString();
        ASSERT_TRUE(QTest::qWaitFor([this] { return m_backend.defaultOutputDevice() != 0; }, 10000))
            << "the private PulseAudio daemon did not come up";
    }

    void TearDown() override { m_pulse.reset(); }

    // What the server itself says, asked through its own command-line client.
    QString pactl(const QStringList &args) { return m_pulse->pactl(args); }

    std::unique_ptr<PrivatePulseAudio> m_pulse;
    platform::linuxbackend::PulseSystemVolume m_backend;
};

} // namespace

TEST_F(PrivatePulseAudioVolume, VolumeIsSetReadBackAndMuted)
{
    AUSoundAdditions::setSystemVolume(0.3f, &m_backend);
    EXPECT_NEAR(AUSoundAdditions::systemVolume(&m_backend), 0.3, 0.002);
    EXPECT_FALSE(AUSoundAdditions::isMuted(&m_backend));
    const QString volumeText = pactl({"get-sink-volume", "qx_test_sink"});
    if (!volumeText.isEmpty()) {
        EXPECT_TRUE(volumeText.contains("30%")) << volumeText.toStdString();
    }

    AUSoundAdditions::setSystemVolume(0.0f, &m_backend);
    EXPECT_TRUE(AUSoundAdditions::isMuted(&m_backend));
    EXPECT_NEAR(AUSoundAdditions::systemVolume(&m_backend), 0.3, 0.002) << "muting leaves the volume";
    const QString muteText = pactl({"get-sink-mute", "qx_test_sink"});
    if (!muteText.isEmpty()) {
        EXPECT_EQ(muteText, "Mute: yes");
    }

    AUSoundAdditions::increaseSystemVolumeBy(0.1f, &m_backend);
    EXPECT_NEAR(AUSoundAdditions::systemVolume(&m_backend), 0.4, 0.002);
    EXPECT_FALSE(AUSoundAdditions::isMuted(&m_backend)) << "setting a volume unmutes";

    AUSoundAdditions::setSystemVolume(1.7f, &m_backend);
    EXPECT_NEAR(AUSoundAdditions::systemVolume(&m_backend), 1.0, 0.002);

    AUSoundAdditions::applyMute(true, &m_backend);
    EXPECT_TRUE(AUSoundAdditions::isMuted(&m_backend));
}

TEST(NoSoundServerTest, VolumeReadsZeroAndWritesAreIgnoredQuickly)
{
    QTemporaryDir dir;
    ScopedEnv server("PULSE_SERVER", ("unix:" + dir.filePath("nobody-listens")).toUtf8());
    platform::linuxbackend::PulseSystemVolume backend;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(AUSoundAdditions::defaultOutputDevice(&backend), 0u);
    EXPECT_EQ(AUSoundAdditions::systemVolume(&backend), 0.0f);
    AUSoundAdditions::setSystemVolume(0.5f, &backend);
    AUSoundAdditions::increaseSystemVolumeBy(0.1f, &backend);
    EXPECT_FALSE(AUSoundAdditions::isMuted(&backend));
    EXPECT_LT(timer.elapsed(), 3000);
}
