// The volume and mute rules of the volume keys, against a fake sound server.
#include "AUSoundAdditions.h"
#include "FakeDesktop.h"

#include <gtest/gtest.h>

TEST(SystemVolumeTest, SettingClampsMutesBelowTheThresholdAndUnmutesOtherwise)
{
    struct Row {
        float input;
        float volumeAfter;
        bool mutedAfter;
        const char *what;
    };
    const Row rows[] = {
        {1.5f, 1.0f, false, "above 1 sets 1"},
        {-0.2f, 0.4f, true, "negative clamps to 0 and mutes; volume untouched"},
        {0.004f, 0.4f, true, "tiny mutes"},
        {0.005f, 0.4f, true, "float(0.005) lies just below 0.005"},
        {0.3f, 0.3f, false, "ordinary volume unmutes"},
    };
    for (const Row &r : rows) {
        FakeSystemVolume sound;
        sound.volumeValue = 0.4f;
        sound.mutedValue = !r.mutedAfter; // every row changes the mute state
        AUSoundAdditions::setSystemVolume(r.input, &sound);
        EXPECT_FLOAT_EQ(*sound.volumeValue, r.volumeAfter) << r.what;
        EXPECT_EQ(*sound.mutedValue, r.mutedAfter) << r.what;
    }
}

TEST(SystemVolumeTest, ReadingTreatsTheLowestStepsAsSilence)
{
    struct Row {
        std::optional<float> device;
        float read;
        const char *what;
    };
    const Row rows[] = {
        {0.05f, 0.0f, "0.05 reads as 0"},
        {0.1f, 0.1f, "0.1 stays"},
        {0.099f, 0.0f, "float(0.099) lies just below 0.099"},
        {1.3f, 1.0f, "amplified reads as 1"},
        {std::nullopt, 0.0f, "no volume property"},
    };
    for (const Row &r : rows) {
        FakeSystemVolume sound;
        sound.volumeValue = r.device;
        EXPECT_FLOAT_EQ(AUSoundAdditions::systemVolume(&sound), r.read) << r.what;
    }
}

TEST(SystemVolumeTest, StepsAreClampedAndADownStepFromSilenceMutes)
{
    FakeSystemVolume sound;
    sound.volumeValue = 0.95f;
    AUSoundAdditions::increaseSystemVolumeBy(0.1f, &sound);
    EXPECT_FLOAT_EQ(*sound.volumeValue, 1.0f);

    sound.volumeValue = 0.05f; // reads as 0.0, so the step gives -0.1: mute
    AUSoundAdditions::decreaseSystemVolumeBy(0.1f, &sound);
    EXPECT_TRUE(*sound.mutedValue);
    EXPECT_FLOAT_EQ(*sound.volumeValue, 0.05f);

    AUSoundAdditions::increaseSystemVolumeBy(0.1f, &sound);
    EXPECT_FLOAT_EQ(*sound.volumeValue, 0.1f);
    EXPECT_FALSE(*sound.mutedValue);
}

TEST(SystemVolumeTest, NoDeviceOrRefusedPropertiesChangeNothing)
{
    FakeSystemVolume none;
    none.device = 0;
    EXPECT_EQ(AUSoundAdditions::defaultOutputDevice(&none), 0u);
    EXPECT_EQ(AUSoundAdditions::systemVolume(&none), 0.0f);
    AUSoundAdditions::setSystemVolume(0.5f, &none);
    AUSoundAdditions::increaseSystemVolumeBy(0.1f, &none);
    AUSoundAdditions::applyMute(true, &none);
    EXPECT_FALSE(AUSoundAdditions::isMuted(&none));
    EXPECT_EQ(none.volumeWrites + none.muteWrites, 0);

    FakeSystemVolume fixed; // a device whose volume cannot be set and has no mute switch
    fixed.volumeSettable = false;
    fixed.mutedValue = std::nullopt;
    AUSoundAdditions::setSystemVolume(0.7f, &fixed);
    AUSoundAdditions::setSystemVolume(0.0f, &fixed);
    EXPECT_EQ(fixed.volumeWrites + fixed.muteWrites, 0);
    EXPECT_FLOAT_EQ(*fixed.volumeValue, 0.5f);

    FakeSystemVolume nan;
    AUSoundAdditions::setSystemVolume(std::numeric_limits<float>::quiet_NaN(), &nan);
    EXPECT_EQ(nan.volumeWrites + nan.muteWrites, 0);
}

TEST(SystemVolumeTest, MuteSwitchAndInstalledBackend)
{
    FakeDesktop desktop;
    AUSoundAdditions::applyMute(true);
    EXPECT_TRUE(AUSoundAdditions::isMuted());
    AUSoundAdditions::applyMute(false);
    EXPECT_FALSE(AUSoundAdditions::isMuted());
    AUSoundAdditions::setSystemVolume(0.8f);
    EXPECT_FLOAT_EQ(AUSoundAdditions::systemVolume(), 0.8f);
}
