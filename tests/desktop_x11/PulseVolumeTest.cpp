// Against a private PulseAudio daemon with a null sink: the system volume is really
// set, read back and muted. Also what happens when no sound server answers.
#include "AUSoundAdditions.h"
#include "platform/linux/PulseSystemVolume.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QByteArray &value) : m_name(name), m_had(qEnvironmentVariableIsSet(name))
    {
        m_old = qgetenv(name);
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

class PrivatePulseAudio : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString binary = QStandardPaths::findExecutable("pulseaudio");
        if (binary.isEmpty())
            GTEST_SKIP() << "pulseaudio is not installed";
        ASSERT_TRUE(m_dir.isValid());
        const QString runtime = m_dir.filePath("runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_socket = m_dir.filePath("runtime/native");
        QFile config(m_dir.filePath("test.pa"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        // Anonymous access: the client needs no cookie from a home folder.
        config.write(QStringLiteral("load-module module-native-protocol-unix auth-anonymous=1 socket=%1\n"
                                    "load-module module-null-sink sink_name=qx_test_sink\n"
                                    "set-default-sink qx_test_sink\n")
                         .arg(m_socket)
                         .toUtf8());
        config.close();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime);
        env.insert("HOME", m_dir.path());
        env.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
        env.insert("PULSE_STATE_PATH", m_dir.filePath("state"));
        env.insert("PULSE_RUNTIME_PATH", m_dir.filePath("runtime/pulse"));
        env.remove("DISPLAY"); // no X11 bell or session modules
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        m_daemon.setProcessEnvironment(env);
        m_daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // -n: only our script; --system=false works for root as well.
        m_daemon.start(binary, {"-n", "--daemonize=no", "--exit-idle-time=-1", "--system=false", "--disallow-exit",
                                "--use-pid-file=no", "--log-target=stderr", "--log-level=error", "-F",
                                config.fileName()});
        ASSERT_TRUE(m_daemon.waitForStarted(5000));
        m_server = std::make_unique<ScopedEnv>("PULSE_SERVER", ("unix:" + m_socket).toUtf8());
        ASSERT_TRUE(QTest::qWaitFor([this] { return m_backend.defaultOutputDevice() != 0; }, 10000))
            << "the private PulseAudio daemon did not come up";
    }

    void TearDown() override
    {
        m_server.reset();
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            if (!m_daemon.waitForFinished(5000)) {
                m_daemon.kill();
                m_daemon.waitForFinished(2000);
            }
        }
    }

    // What the server itself says, asked through its own command-line client.
    QString pactl(const QStringList &args)
    {
        const QString binary = QStandardPaths::findExecutable("pactl");
        if (binary.isEmpty())
            return {};
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PULSE_SERVER", "unix:" + m_socket);
        p.setProcessEnvironment(env);
        p.start(binary, args);
        p.waitForFinished(5000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    QTemporaryDir m_dir;
    QString m_socket;
    QProcess m_daemon;
    std::unique_ptr<ScopedEnv> m_server;
    platform::linuxbackend::PulseSystemVolume m_backend;
};

} // namespace

TEST_F(PrivatePulseAudio, VolumeIsSetReadBackAndMuted)
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
