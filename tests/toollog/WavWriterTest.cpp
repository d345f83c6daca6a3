#include "ApplicationDailyLog.h"
#include "FamilyTraits.h"
#include "QXToolManager.h"
#include "TempDataRoot.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Sets the device state the sample-rate rule reads, for the life of the object.
struct DeviceState {
    explicit DeviceState(WavRateInputs in)
    {
        QXToolManager::setWavRateInputsProvider([in] { return in; });
    }
    ~DeviceState() { QXToolManager::setWavRateInputsProvider(nullptr); }
};

QByteArray pcm(int size)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char(i * 7);
    return b;
}

TEST(WavWriter, HeaderBytesAndSamples)
{
    TempDataRoot root;
    const QString in = root.file("in.pcm");
    const QByteArray samples = pcm(32000);
    {
        QFile f(in);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(samples);
    }

    {
        WavRateInputs ble;
        ble.bleConnect = true;
        ble.chipPlan = 2;
        DeviceState state(ble);
        ASSERT_TRUE(QXToolManager::pcmConvertToWav(in, root.file("8k.wav")));
    }
    const QByteArray wav = readAll(root.file("8k.wav"));
    ASSERT_EQ(wav.size(), 32044);
    EXPECT_EQ(wav.left(44).toHex(' '), "52 49 46 46 24 7d 00 00 57 41 56 45 66 6d 74 20 10 00 00 00 01 00 01 00 40 1f "
                                       "00 00 80 3e 00 00 02 00 10 00 64 61 74 61 00 7d 00 00");
    EXPECT_EQ(wav.mid(44), samples);

    // Nothing connected: 16 kHz. The target is rewritten, not appended to.
    ASSERT_TRUE(QXToolManager::pcmConvertToWav(in, root.file("8k.wav")));
    const QByteArray wide = readAll(root.file("8k.wav"));
    ASSERT_EQ(wide.size(), 32044);
    EXPECT_EQ(wide.mid(24, 8).toHex(' '), "80 3e 00 00 00 7d 00 00");
}

TEST(WavWriter, EmptyOrMissingRecordingGivesAHeaderOnly)
{
    TempDataRoot root;
    const QByteArray expected = QByteArray::fromHex("524946462400000057415645666d74201000000001000100803e0000007d0000"
                                                    "0200100064617461"
                                                    "00000000");
    QFile(root.file("empty.pcm")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QXToolManager::pcmConvertToWav(root.file("empty.pcm"), root.file("a.wav")));
    EXPECT_EQ(readAll(root.file("a.wav")), expected);

    ASSERT_TRUE(QXToolManager::pcmConvertToWav(root.file("missing.pcm"), root.file("b.wav")));
    EXPECT_EQ(readAll(root.file("b.wav")), expected);
}

TEST(WavWriter, NonAsciiTargetWorksAndAnUnopenableOneFailsWithALogLine)
{
    TempDataRoot root;
    ApplicationDailyLog daily;
    QFile f(root.file("in.pcm"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(pcm(100));
    f.close();

    const QString folder = root.file(QString::fromUtf8("测试"));
    QDir().mkpath(folder);
    ASSERT_TRUE(QXToolManager::pcmConvertToWav(root.file("in.pcm"), folder + "/a.wav"));
    EXPECT_EQ(readAll(folder + "/a.wav").size(), 144);

    const QString unopenable = root.file("no/such/folder/a.wav");
    EXPECT_FALSE(QXToolManager::pcmConvertToWav(root.file("in.pcm"), unopenable));
    EXPECT_FALSE(QXToolManager::pcmConvertToWav(root.file("in.pcm"), folder)); // a folder is in the way
    QXToolManager::waitForPendingLogsBeforeTermination();
    const QStringList logs = QDir(root.file("Log")).entryList(QDir::Files);
    ASSERT_EQ(logs.size(), 1);
    const QString log = QString::fromUtf8(readAll(root.file("Log/" + logs.first())));
    EXPECT_TRUE(log.contains("Error opening out file " + unopenable)) << log.toStdString();
}

TEST(WavWriter, SampleRateFollowsTheDevice)
{
    struct Row {
        const char *what;
        WavRateInputs in;
        int rate;
    };
    auto make = [](int plan, int type, const char *fw = "", int sampling = 0, bool ble = false, quint16 vid = 0,
                   quint16 pid = 0) {
        WavRateInputs in;
        in.chipPlan = plan;
        in.deviceType = type;
        in.firmwareVersion = QString::fromLatin1(fw);
        in.samplingRate = sampling;
        in.bleConnect = ble;
        in.currentVid = vid;
        in.currentPid = pid;
        return in;
    };
    const Row rows[] = {
        {"plan 1, wired receiver", make(1, 1), 16000},
        {"nothing connected", WavRateInputs{}, 16000},
        {"Bluetooth LE", make(2, 1, "", 0, true), 8000},
        {"plan 4", make(4, 1), 8000},
        {"plan 3 but a pointer", make(3, 5), 16000},
        {"plan 6, firmware 12, wide band", make(6, 1, "12", 1), 16000},
        {"plan 6, firmware 10", make(6, 1, "10", 1), 8000},
        {"plan 6, laser receiver, firmware 10", make(6, 2, "10"), 16000},
        {"plan 6, laser receiver, firmware 12, narrow band", make(6, 2, "12", 0), 8000},
        {"plan 6, firmware with a suffix", make(6, 1, " 11b", 1), 16000},
        {"the wide-band receiver overrides the plan", make(4, 1, "", 0, false, 0x248A, 0x64AB), 16000},
        {"the wide-band receiver overrides plan 7", make(7, 1, "", 0, false, 0x248A, 0x64AB), 16000},
        {"plan 7, narrow band", make(7, 1), 8000},
        {"plan 7, wide band", make(7, 1, "", 1), 16000},
    };
    for (const Row &r : rows)
        EXPECT_EQ(wavSampleRate(r.in), r.rate) << r.what;
}

} // namespace
