// The pointer's volume keys repeat a 0.1 step every 0.2 s on virtual time.
#include "HidInfoTestFixture.h"

namespace {

class HidVolume : public HidInfoTest {
protected:
    void SetUp() override { state->setChipPlan(1); }
    // A pointer (device type 2) report with the given key byte.
    void key(const char *keyHex) { feed(QByteArray("0d016402213201").append(keyHex).constData()); }
    QStringList tipTexts() const
    {
        QStringList out;
        for (const auto &[text, image] : fakes.tips.tips)
            out << text + "|" + image;
        return out;
    }
};

TEST_F(HidVolume, HeldVolumeUpStepsEveryFifthOfASecondUntilItsKeyUp)
{
    volume.volumeValue = 0.5f;
    key("47"); // 71
    EXPECT_TRUE(reader.isVolumeRepeating());
    sched.advance(199);
    EXPECT_TRUE(fakes.tips.tips.empty()); // the first step comes 0.2 s after the key
    sched.advance(1);
    EXPECT_NEAR(*volume.volumeValue, 0.6f, 1e-5);
    EXPECT_EQ(tipTexts(), QStringList{"当前音量 60|laserPen_icon-10"});

    sched.advance(800);
    EXPECT_EQ(fakes.tips.tips.size(), 5u);
    EXPECT_NEAR(*volume.volumeValue, 1.0f, 1e-5);

    key("47"); // the device repeats the report of the held key
    key("00"); // a key-up report does not stop it either
    sched.advance(400);
    EXPECT_EQ(fakes.tips.tips.size(), 7u);
    EXPECT_EQ(tipTexts().last(), "当前音量 100|laserPen_icon-10"); // stays at full

    key("48"); // 72: volume key-up
    EXPECT_FALSE(reader.isVolumeRepeating());
    sched.advance(1000);
    EXPECT_EQ(fakes.tips.tips.size(), 7u);
    EXPECT_EQ(sched.pendingCount(), 0);
}

TEST_F(HidVolume, VolumeDownToSilenceAndAnyOtherKeyStops)
{
    volume.volumeValue = 0.15f;
    key("49"); // 73
    sched.advance(200);
    sched.advance(200); // below the lowest step: muted, the volume itself kept
    EXPECT_EQ(tipTexts(), (QStringList{"当前音量 0|laserPen_icon-11", "当前音量 0|laserPen_icon-11"}));
    EXPECT_EQ(volume.mutedValue, true);

    key("00");
    key("27"); // 39, the search key, stops the repeat and still counts
    EXPECT_FALSE(reader.isVolumeRepeating());
    EXPECT_EQ(fakes.voice.pressTypes, std::vector<int>{35});
}

TEST_F(HidVolume, TipShowsTheRoundedPercentage)
{
    volume.volumeValue = 0.8f; // 0.8 - 0.1 in single precision is 0.6999999
    key("49");
    sched.advance(200);
    EXPECT_EQ(tipTexts(), QStringList{"当前音量 70|laserPen_icon-11"});
}

TEST_F(HidVolume, ANewVolumeKeyRestartsTheRepeat)
{
    volume.volumeValue = 0.5f;
    key("47");
    sched.advance(100);
    key("00");
    key("49"); // down, started 100 ms into the up repeat
    sched.advance(100);
    EXPECT_TRUE(fakes.tips.tips.empty());
    sched.advance(100);
    EXPECT_EQ(tipTexts(), QStringList{"当前音量 40|laserPen_icon-11"});
    EXPECT_EQ(sched.pendingCount(), 1);
}

} // namespace
