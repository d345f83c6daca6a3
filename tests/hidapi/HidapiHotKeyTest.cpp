#include "HidapiFixture.h"

#include <QMap>

namespace {
// Stands in for the global-shortcut layer: remembers each binding and can press it.
struct RecordingHotKeys {
    QMap<QString, QXHidapiManager::HotKey> bound;
    QStringList order;
    QXHidapiManager::HotKeyBinder binder()
    {
        return [this](const QXHidapiManager::HotKey &k) {
            bound.insert(k.defaultsKey, k);
            order << k.defaultsKey;
        };
    }
    void press(const QString &key) { bound.value(key).action(); }
};
} // namespace

class HidapiHotKeyTest : public HidapiTest {
protected:
    RecordingHotKeys hotKeys;
    void SetUp() override
    {
        HidapiTest::SetUp();
        manager.setHotKeyBinder(hotKeys.binder());
    }
    void openReceiver(quint16 vid, quint16 pid, const char *infoHex = "0d0164030000")
    {
        lib.setDevices({hidapiInterface(vid, pid, 0xFF05, 0, "/dev/hidraw7")});
        lib.queueFeatureReport(featureReport(infoHex, 17));
        manager.hidRequestReadMouseInfoVid(vid, pid, listener());
        settle();
    }
};

TEST_F(HidapiHotKeyTest, WordReceiverBindsF1AndModeSwitchOnF2)
{
    openReceiver(0x13BA, 0x12AB);
    EXPECT_EQ(hotKeys.order, (QStringList{"WordShortcutKey", "ChangeModeShortcutKey"}));
    EXPECT_EQ(hotKeys.bound["WordShortcutKey"].macKeyCode, 122);
    EXPECT_EQ(hotKeys.bound["ChangeModeShortcutKey"].macKeyCode, 120);
    for (const auto &k : hotKeys.bound) {
        EXPECT_EQ(k.modifierFlags, 0u);
        EXPECT_TRUE(k.allowOptionModifier);
    }
    EXPECT_EQ(state->mouseInfoItem().deviceType(), 3u);

    hotKeys.press("WordShortcutKey");
    fakes.keys.setHadStart(true);
    hotKeys.press("WordShortcutKey");
    EXPECT_EQ(heard, (std::vector<std::pair<bool, int>>{{true, 33}, {true, 34}}));

    // F2 flips translation mode (with its tip) and reports "no press".
    hotKeys.press("ChangeModeShortcutKey");
    EXPECT_TRUE(fakes.keys.isTranslate());
    ASSERT_EQ(fakes.tips.tips.size(), 1u);
    EXPECT_EQ(fakes.tips.tips[0].second, "laserPen_icon-7");
    EXPECT_EQ(heard.back(), std::make_pair(true, 0));
    EXPECT_EQ(manager.pressType(), 0);

    fakes.keys.setHadStart(false);
    hotKeys.press("WordShortcutKey"); // translation mode now
    EXPECT_EQ(heard.back(), std::make_pair(true, 37));
}

TEST_F(HidapiHotKeyTest, VoiceReceiverBindsWordTranslateAndSearch)
{
    openReceiver(0x13CA, 0x12AC);
    EXPECT_EQ(hotKeys.order, (QStringList{"WordShortcutKey", "TranslateShortcutKey", "SearchShortcutKey"}));
    EXPECT_EQ(hotKeys.bound["TranslateShortcutKey"].macKeyCode, 120);
    EXPECT_EQ(hotKeys.bound["SearchShortcutKey"].macKeyCode, 99);

    hotKeys.press("TranslateShortcutKey");
    hotKeys.press("SearchShortcutKey");
    fakes.keys.setHadStart(true);
    hotKeys.press("TranslateShortcutKey");
    hotKeys.press("SearchShortcutKey");
    EXPECT_EQ(heard, (std::vector<std::pair<bool, int>>{{true, 37}, {true, 35}, {true, 38}, {true, 36}}));
    EXPECT_EQ(manager.pressType(), 36);

    // After close the keys still convert, but nobody is told.
    manager.hidRequestClose();
    hotKeys.press("SearchShortcutKey");
    EXPECT_EQ(heard.size(), 4u);
}

TEST_F(HidapiHotKeyTest, OtherReceiversBindNothing)
{
    openReceiver(0x13BA, 0x12AC, "0d0164010000");
    EXPECT_TRUE(hotKeys.bound.isEmpty());
    EXPECT_NE(state->mouseInfoItem().deviceType(), 3u);
}

// The pointer's volume keys repeat a 0.1 step every 0.2 s until another key comes.
TEST_F(HidapiTest, PointerVolumeKeyRepeatsUntilAnotherKey)
{
    desktop.volume.volumeValue = 0.5f;
    state->mouseInfoItem().setDeviceType(2);
    PressTypeConverter &converter = manager.converter();
    EXPECT_EQ(converter.convertPressTypeWithNum(71, 0), 0);
    sched.advance(199);
    EXPECT_TRUE(fakes.tips.tips.empty());
    sched.advance(1);
    ASSERT_EQ(fakes.tips.tips.size(), 1u);
    EXPECT_EQ(fakes.tips.tips[0], std::make_pair(QStringLiteral("当前音量 60"), QStringLiteral("laserPen_icon-10")));
    sched.advance(800);
    EXPECT_EQ(fakes.tips.tips.size(), 5u);
    // 0.5 + 5 x 0.1 shows 100 (not 99 from a float just below 1.0).
    EXPECT_EQ(fakes.tips.tips.back().first, QStringLiteral("当前音量 100"));

    converter.setTempNum(0);
    converter.convertPressTypeWithNum(72, 0);
    EXPECT_FALSE(converter.isVolumeRepeating());
    sched.advance(1000);
    EXPECT_EQ(fakes.tips.tips.size(), 5u);
}
