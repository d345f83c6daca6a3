#include "CountingKeyValueStore.h"
#include "FakeAsrSdkEngine.h"
#include "FakeSecretStore.h"
#include "KeyValueStore.h"
#include "PZLog.h"
#include "QXUserInfoData.h"
#include "ScopedUserInfoData.h"
#include "TempDataRoot.h"
#include "platform/PlatformServices.h"
#include "services/LanguageHooks.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <memory>

namespace {

class UserInfoDataTest : public DataRootTest {
protected:
    std::unique_ptr<QXUserInfoData> make() { return std::make_unique<QXUserInfoData>(store); }
    CountingKeyValueStore store;
};

// Installs an audio-language answer for the life of the object.
struct AudioLanguage {
    explicit AudioLanguage(QString code)
    {
        previous = installLanguageHooks({nullptr, [code] { return code; }, nullptr});
    }
    ~AudioLanguage() { installLanguageHooks(previous); }
    LanguageHooks previous;
};

} // namespace

TEST_F(UserInfoDataTest, FirstLaunchDefaultsAndMigration)
{
    auto s = make();
    EXPECT_TRUE(s->screenshotsTranslateSwitch());
    EXPECT_TRUE(s->rgbSwitch());
    EXPECT_TRUE(s->compatibleModeSwitch());
    EXPECT_TRUE(s->funcSwitch());
    EXPECT_TRUE(s->longVoiceModeSwitch());
    EXPECT_FALSE(s->bootUpSwitch());
    EXPECT_FALSE(s->wordInputSwitch());
    EXPECT_FALSE(s->punctuationSwitch());
    EXPECT_FALSE(s->voiceBroadcastSwitch());
    EXPECT_FALSE(s->rememberPasswordSwitch());
    EXPECT_FALSE(s->isConnect());
    EXPECT_EQ(s->lowPowerNum(), 10);
    EXPECT_EQ(s->voiceWakeUpIndex(), 0);
    EXPECT_EQ(s->account(), "");
    EXPECT_EQ(s->password(), "");
    EXPECT_EQ(s->xunFeiAppId(), "7c2d91fa");
    EXPECT_EQ(s->xunFeiAppKey(), "c15d8e3a2b7f4096d1e8a5c3f7b20d4e");
    EXPECT_EQ(s->IFlytekChip_token(), std::nullopt);
    EXPECT_EQ(s->IFlytekChip_ID(), std::nullopt);

    EXPECT_TRUE(store.value("longVoiceModeSwitchKey").toBool());
    EXPECT_TRUE(store.value("QuorvexLongVoiceForceOnMigration_v1").toBool());
    // The default screenshots folder is made but not remembered.
    EXPECT_FALSE(store.contains("screenshotsPathKey"));
    const QString folder = QDir(root.path()).filePath("Screenshots");
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(s->screenshotsPath(), folder + "/");
    // Making the state also made the device state, which clears the receiver version.
    EXPECT_EQ(store.value("QX_Quorvex_DongleVersion_Key").toString(), "");
}

TEST_F(UserInfoDataTest, RelaunchKeepsChoicesExceptCompatibleMode)
{
    {
        auto s = make();
        s->setCompatibleModeSwitch(false);
        s->setLongVoiceModeSwitch(false);
        s->setPunctuationSwitch(true);
        s->setLowPowerNum(20);
        s->setAccount(QStringLiteral("u1"));
        s->setIFlytekChip_token(QStringLiteral("tok"));
        s->setChipPlan(6); // in memory only
        s->setBleConnect(true);
        EXPECT_FALSE(store.value("compatibleModeSwitchKey").toBool());
    }
    auto s = make();
    EXPECT_TRUE(s->compatibleModeSwitch());
    EXPECT_FALSE(s->longVoiceModeSwitch()); // the migration ran once only
    EXPECT_TRUE(s->punctuationSwitch());
    EXPECT_EQ(s->lowPowerNum(), 20);
    EXPECT_EQ(s->account(), "u1");
    EXPECT_EQ(s->IFlytekChip_token(), QStringLiteral("tok"));
    EXPECT_EQ(s->chipPlan(), 0);
    EXPECT_FALSE(s->bleConnect());
}

TEST_F(UserInfoDataTest, MigrationFlagWithoutStoredSwitchTurnsLongVoiceOn)
{
    store.setValue("QuorvexLongVoiceForceOnMigration_v1", true);
    auto s = make();
    EXPECT_TRUE(s->longVoiceModeSwitch());
    EXPECT_TRUE(store.contains("longVoiceModeSwitchKey"));
}

TEST_F(UserInfoDataTest, RelaunchOverTheIniFile)
{
    const QString file = root.file("prefs.ini");
    {
        IniKeyValueStore ini(file);
        QXUserInfoData s(ini);
        s.setLongVoiceModeSwitch(false);
        s.setAccount(QStringLiteral("用户"));
        s.setAppKey(std::nullopt);
        s.setVoiceWakeUpIndex(2);
        s.mouseInfoItem().setVid(0x248A);
        s.mouseInfoItem().setSn(QStringLiteral("SN001"));
    }
    IniKeyValueStore ini(file);
    QXUserInfoData s(ini);
    EXPECT_FALSE(s.longVoiceModeSwitch());
    EXPECT_TRUE(s.compatibleModeSwitch());
    EXPECT_EQ(s.account(), QStringLiteral("用户"));
    EXPECT_EQ(s.appKey(), ""); // an empty stored key is still a held key
    EXPECT_EQ(s.voiceWakeUpIndex(), 2);
    EXPECT_EQ(s.mouseInfoItem().vid(), 0x248A);
    EXPECT_EQ(s.mouseInfoItem().sn(), "SN001");
}

TEST_F(UserInfoDataTest, AppKeyFallsBackToTheReceiverOriginUntilOneIsHeld)
{
    auto s = make();
    const struct {
        quint64 source;
        const char *key;
    } rows[] = {
        {0, "6b3f9e1d0a7c48e2b5d4c8f1a0e3972b"},
        {1, "a94d2c7e5f1b4039c8e6d2a7b1f5c043"},
        {2, "0e7b5a3c9d2f41e6a8c3b7d9e0f1a254"},
        {7, "6b3f9e1d0a7c48e2b5d4c8f1a0e3972b"},
    };
    for (const auto &row : rows) {
        s->mouseInfoItem().setMouseSource(row.source);
        EXPECT_EQ(s->appKey(), row.key) << "source " << row.source;
    }
    EXPECT_FALSE(store.contains("appKey")); // the fallback is not stored

    s->setAppKey(std::nullopt);
    EXPECT_EQ(store.value("appKey").toString(), "");
    EXPECT_EQ(s->appKey(), "");
    s->setAppKey(QStringLiteral("K1"));
    s->setAppKey(QStringLiteral("K1"));
    EXPECT_EQ(store.writes("appKey"), 2); // written on every call that changes it
}

TEST_F(UserInfoDataTest, SettersWriteByTheirOwnRules)
{
    auto s = make();
    store.resetCounts();

    s->setBootUpSwitch(false); // unchanged: nothing written
    s->setLowPowerNum(10);
    EXPECT_EQ(store.totalWrites(), 0);
    s->setBootUpSwitch(true);
    EXPECT_EQ(store.writes("bootUpSwitchKey"), 1);

    s->setAccount(QStringLiteral("u1"));
    s->setAccount(std::nullopt);
    EXPECT_EQ(store.value("accountKey").toString(), "");
    s->setAccount(QStringLiteral(""));
    EXPECT_EQ(store.writes("accountKey"), 2);

    s->setPassword(QStringLiteral("pw"));
    s->setPassword(QStringLiteral("pw"));
    EXPECT_EQ(store.writes("passwordKey"), 1);

    s->setScreenshotsPath(std::nullopt);
    EXPECT_EQ(store.value("screenshotsPathKey").toString(), "");
    EXPECT_EQ(s->screenshotsPath(), "");

    // Voice-chip texts: only non-empty values are taken, each time.
    s->setIFlytekChip_token(QStringLiteral("t1"));
    s->setIFlytekChip_token(QStringLiteral(""));
    s->setIFlytekChip_token(std::nullopt);
    EXPECT_EQ(s->IFlytekChip_token(), QStringLiteral("t1"));
    s->setIFlytekChip_token(QStringLiteral("t2"));
    EXPECT_EQ(store.writes("IFlytekChip_tokenKey"), 2);

    // An absent speech-SDK id is forgotten; the next launch uses the built-in one.
    s->setXunFeiAppId(QStringLiteral("A1"));
    s->setXunFeiAppId(QStringLiteral("A1"));
    EXPECT_EQ(store.writes("xunFeiAppId"), 1);
    s->setXunFeiAppId(std::nullopt);
    EXPECT_FALSE(store.contains("xunFeiAppId"));
    EXPECT_EQ(make()->xunFeiAppId(), "7c2d91fa");
}

TEST_F(UserInfoDataTest, VoiceWakeUpIndexReregistersHotKeysOnChange)
{
    auto s = make();
    int calls = 0;
    s->setRegisterHotKeyHandler([&] {
        ++calls;
        EXPECT_EQ(s->voiceWakeUpIndex(), 3); // the handler sees the new value, no deadlock
    });
    s->setVoiceWakeUpIndex(3);
    s->setVoiceWakeUpIndex(3);
    EXPECT_EQ(calls, 1);
}

TEST_F(UserInfoDataTest, ProductCodeFallbackIsLatched)
{
    auto s = make();
    s->mouseInfoItem().setMouseType(523);
    EXPECT_EQ(s->productCode(), "523");
    s->mouseInfoItem().setMouseType(600);
    EXPECT_EQ(s->productCode(), "523");
    s->setProductCode(QStringLiteral(""));
    EXPECT_EQ(s->productCode(), "600");
}

TEST_F(UserInfoDataTest, DisabledDevicesByProductCode)
{
    auto s = make();
    const struct {
        const char *code;
        bool disabled;
    } rows[] = {
        {"412", true},  {"328", true},    {"282", true},  {"370", true},   {"413", false},
        {"abc", false}, {"412abc", true}, {" 370", true}, {"-412", false}, {"99999999999999999999", false},
    };
    for (const auto &row : rows) {
        s->setProductCode(QString::fromLatin1(row.code));
        EXPECT_EQ(s->isDisableDevice(), row.disabled) << row.code;
    }
}

TEST_F(UserInfoDataTest, VendorSpeechSdkChoice)
{
    auto s = make();
    const struct {
        const char *code;
        bool expected;
    } rows[] = {{"ZH_CN", true}, {"ZH_TW", true}, {"EN_US", true}, {"EN_GB", false}, {"KO_KR", false}, {"", false}};
    // Without an SDK engine (Linux) the websocket service serves every language, and
    // the log says why once.
    s->setLongVoiceModeSwitch(false);
    for (const auto &row : rows) {
        AudioLanguage language(QString::fromLatin1(row.code));
        EXPECT_FALSE(s->isIFlyAsr()) << row.code;
    }
    EXPECT_TRUE(qxLoggedOnce(QStringLiteral("voice.no-asr-sdk")));

    FakeAsrSdkEngine engine;
    platform::PlatformServices services;
    services.asrSdkEngine = &engine;
    const platform::PlatformServices previous = platform::installServices(services);
    for (const auto &row : rows) {
        AudioLanguage language(QString::fromLatin1(row.code));
        s->setLongVoiceModeSwitch(true);
        EXPECT_FALSE(s->isIFlyAsr()) << row.code;
        s->setLongVoiceModeSwitch(false);
        EXPECT_EQ(s->isIFlyAsr(), row.expected) << row.code;
    }
    platform::installServices(previous);
}

TEST_F(UserInfoDataTest, ConnectionIsMouseOrBluetooth)
{
    auto s = make();
    s->setUsbConnect(true);
    EXPECT_FALSE(s->isConnect()); // an open receiver without an answering mouse
    s->setMouseIsConnect(true);
    EXPECT_TRUE(s->isConnect());
    s->setMouseIsConnect(false);
    s->setBleConnect(true);
    EXPECT_TRUE(s->isConnect());
}

TEST(UserInfoDataShared, TestsCanReplaceTheSharedInstance)
{
    ScopedUserInfoData outer;
    {
        ScopedUserInfoData inner;
        EXPECT_EQ(&QXUserInfoData::sharedInstance(), &inner.state());
        QXUserInfoData::sharedInstance().setChipPlan(4);
        EXPECT_EQ(inner->chipPlan(), 4);
    }
    EXPECT_EQ(&QXUserInfoData::sharedInstance(), &outer.state());
    EXPECT_EQ(outer->chipPlan(), 0);
}

TEST_F(UserInfoDataTest, RememberedPasswordLivesInTheKeyringWhenOneAnswers)
{
    FakeSecretStore keyring;
    store.setValue("passwordKey", "old-secret"); // from a version that kept it in the file
    {
        QXUserInfoData s(store, &keyring);
        EXPECT_EQ(s.password(), "old-secret");
        EXPECT_FALSE(store.contains("passwordKey")); // moved out of the file
        EXPECT_EQ(keyring.secrets.value("passwordKey"), "old-secret");
        s.setPassword(QStringLiteral("new-secret"));
        EXPECT_FALSE(store.contains("passwordKey"));
    }
    QXUserInfoData relaunched(store, &keyring);
    EXPECT_EQ(relaunched.password(), "new-secret");
    const int writes = keyring.writes;
    relaunched.setPassword(QStringLiteral("new-secret"));
    EXPECT_EQ(keyring.writes, writes); // unchanged text: nothing written
}

TEST_F(UserInfoDataTest, RememberedPasswordFallsBackToTheFileWithoutAKeyring)
{
    FakeSecretStore keyring;
    keyring.answering = false;
    {
        QXUserInfoData s(store, &keyring);
        s.setPassword(QStringLiteral("pw"));
        EXPECT_EQ(store.value("passwordKey").toString(), "pw");
    }
    // The keyring is back: the file's password (the newer one) moves over.
    keyring.answering = true;
    keyring.secrets.insert("passwordKey", "stale");
    QXUserInfoData s(store, &keyring);
    EXPECT_EQ(s.password(), "pw");
    EXPECT_EQ(keyring.secrets.value("passwordKey"), "pw");
    EXPECT_FALSE(store.contains("passwordKey"));
}

TEST_F(UserInfoDataTest, KeyringIsAskedOnTheFirstUseOfThePassword)
{
    FakeSecretStore keyring;
    keyring.secrets.insert("passwordKey", "kept");
    {
        QXUserInfoData s(store, &keyring);
        EXPECT_EQ(keyring.reads, 0); // nothing at start-up
        EXPECT_EQ(s.password(), "kept");
        EXPECT_EQ(s.password(), "kept");
        EXPECT_EQ(keyring.reads, 1);
    }
    {
        // A first write compares with the keyring's password: the same text writes nothing.
        QXUserInfoData s(store, &keyring);
        const int writes = keyring.writes;
        s.setPassword(QStringLiteral("kept"));
        EXPECT_EQ(keyring.writes, writes);
        EXPECT_EQ(keyring.reads, 2);
    }
    {
        // A keyring that does not answer is asked once, not at every read.
        keyring.answering = false;
        QXUserInfoData s(store, &keyring);
        EXPECT_EQ(s.password(), "");
        EXPECT_EQ(s.password(), "");
        EXPECT_EQ(keyring.reads, 3);
    }
    // A password still in the file moves to the keyring at start-up, as before.
    keyring.answering = true;
    store.setValue("passwordKey", "from-file");
    QXUserInfoData s(store, &keyring);
    EXPECT_FALSE(store.contains("passwordKey"));
    EXPECT_EQ(keyring.secrets.value("passwordKey"), "from-file");
    EXPECT_EQ(s.password(), "from-file");
}

// A keyring that takes its time: nothing waits for it, the password set meanwhile wins,
// and whoever asked for the password hears once, with the password that counts.
TEST_F(UserInfoDataTest, SlowKeyringNeverBlocksAndANewerPasswordWins)
{
    FakeSecretStore keyring;
    keyring.deferred = true;
    keyring.secrets.insert("passwordKey", "kept");
    {
        QXUserInfoData s(store, &keyring);
        QStringList heard;
        s.fetchPassword([&](const QString &p) { heard << p; });
        EXPECT_EQ(s.password(), ""); // not known yet, and nothing waited
        EXPECT_TRUE(heard.isEmpty());
        keyring.answer();
        EXPECT_EQ(heard, QStringList{"kept"});
        EXPECT_EQ(s.password(), "kept");
        s.fetchPassword([&](const QString &p) { heard << p; }); // known now: at once
        EXPECT_EQ(heard, (QStringList{"kept", "kept"}));
    }
    {
        QXUserInfoData s(store, &keyring);
        QStringList heard;
        s.fetchPassword([&](const QString &p) { heard << p; });
        s.setPassword(QStringLiteral("typed")); // while the keyring is still being read
        EXPECT_EQ(s.password(), "typed");
        keyring.answer(); // the read's "kept" comes too late to count
        EXPECT_EQ(s.password(), "typed");
        EXPECT_EQ(heard, QStringList{"typed"});
        EXPECT_EQ(keyring.secrets.value("passwordKey"), "typed");
        EXPECT_FALSE(store.contains("passwordKey"));
    }
    {
        // Answers that come after the state went find nothing to write to.
        auto s = std::make_unique<QXUserInfoData>(store, &keyring);
        s->setPassword(QStringLiteral("last"));
        s.reset();
        keyring.answer();
        EXPECT_EQ(keyring.waiting(), 0);
    }
}
