#include "QXUserInfoData.h"

#include "DataPaths.h"
#include "InstalledInstance.h"
#include "KeyValueStore.h"
#include "PZLog.h"
#include "QXUserInfoDataValues.h"

using namespace userinfo;

QXUserInfoData::QXUserInfoData(KeyValueStore &store, platform::ISecretStore *secrets)
    : m_store(store), m_secrets(secrets), v(std::make_unique<Values>())
{
    load();
    m_mouseInfoItem = std::make_unique<QXMouseInfoItem>(store);
}

QXUserInfoData::~QXUserInfoData()
{
    InstalledInstance<QXUserInfoData>::uninstall(this);
}

QXUserInfoData &QXUserInfoData::sharedInstance()
{
    return InstalledInstance<QXUserInfoData>::get("QXUserInfoData");
}

QXUserInfoData *QXUserInfoData::setSharedInstance(QXUserInfoData *instance)
{
    return InstalledInstance<QXUserInfoData>::install(instance);
}

void QXUserInfoData::setRegisterHotKeyHandler(std::function<void()> handler)
{
    std::lock_guard lock(m_mutex);
    m_registerHotKey = std::move(handler);
}

void QXUserInfoData::storeValue(const char *k, const QVariant &value)
{
    m_store.setValue(key(k), value);
}

void QXUserInfoData::load()
{
    const KeyValueStore &s = m_store;
    auto readBool = [&](const char *k, bool def) { return s.value(key(k), def).toBool(); };
    auto readInt = [&](const char *k, qint64 def) { return s.value(key(k), def).toLongLong(); };
    auto readText = [&](const char *k) -> std::optional<QString> {
        const QVariant value = s.value(key(k));
        if (!value.isValid())
            return std::nullopt;
        return textOrEmpty(value.toString());
    };

    v->appKey = readText(kAppKey);
    v->funcSwitch = true;
    v->bootUpSwitch = readBool(kBootUpSwitchKey, false);
    v->wordInputSwitch = readBool(kWordInputSwitchKey, false);
    v->screenshotsTranslateSwitch = readBool(kScreenshotsTranslateSwitchKey, true);
    v->punctuationSwitch = readBool(kPunctuationSwitchKey, false);
    // Compatible mode starts on at every launch; the stored choice only lasts the run.
    v->compatibleModeSwitch = true;
    v->rgbSwitch = readBool(kRgbSwitchKey, true);
    v->voiceWakeUpIndex = readInt(kVoiceWakeUpIndexKey, 0);

    if (const std::optional<QString> path = readText(kScreenshotsPathKey)) {
        v->screenshotsPath = *path;
    } else {
        // The default folder is made here but not remembered, so moving the data root
        // moves the default with it.
        const QString folder = DataPaths::getFilePath(QStringLiteral("/Screenshots"));
        if (!DataPaths::ensureDir(folder))
            qxWarning("state") << "cannot create the screenshots folder" << folder;
        v->screenshotsPath = folder + QLatin1Char('/');
    }

    v->voiceBroadcastSwitch = readBool(kVoiceBroadcastSwitchKey, false);
    v->rememberPasswordSwitch = readBool(kRememberPasswordSwitchKey, false);
    v->account = readText(kAccountKey).value_or(QStringLiteral(""));
    loadPassword();
    v->xunFeiAppId = readText(kXunFeiAppIdKey).value_or(QString::fromLatin1(kBuiltInXunFeiAppId));
    v->xunFeiAppKey = readText(kXunFeiAppKeyKey).value_or(QString::fromLatin1(kBuiltInXunFeiAppKey));

    v->bleConnect = false;
    v->mouseIsConnect = false;

    v->laserPenVoiceFunctionIndex = readInt(kLaserPenVoiceFunctionIndexKey, 0);
    v->lowPowerNum = readInt(kLowPowerNumKey, 10);
    v->chipFirmwareVersion = readText(kChipFirmwareVersionKey);
    v->chipId = readText(kChipIdKey);
    v->chipDeviceId = readText(kChipDeviceIdKey);
    v->chipAuthDataStr = readText(kChipAuthDataStrKey);
    v->chipToken = readText(kChipTokenKey);
    v->chipTokenExpireAt = readText(kChipTokenExpireAtKey);

    // Long-voice mode was switched on once for everybody; afterwards the user's choice holds.
    if (!m_store.contains(key(kLongVoiceMigrationKey))) {
        v->longVoiceModeSwitch = true;
        storeValue(kLongVoiceModeSwitchKey, true);
        storeValue(kLongVoiceMigrationKey, true);
    } else if (m_store.contains(key(kLongVoiceModeSwitchKey))) {
        v->longVoiceModeSwitch = m_store.boolValue(key(kLongVoiceModeSwitchKey));
    } else {
        v->longVoiceModeSwitch = true;
        storeValue(kLongVoiceModeSwitchKey, true);
    }
}
