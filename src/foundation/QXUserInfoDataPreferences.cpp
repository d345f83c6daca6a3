// QXUserInfoData: the preferences kept in the store (switches, indexes, texts, the voice
// chip's credentials).
#include "QXUserInfoDataValues.h"

#include "KeyValueStore.h"

using namespace userinfo;

QString QXUserInfoData::appKey() const
{
    std::lock_guard lock(m_mutex);
    if (v->appKey)
        return qx::detachedCopy(*v->appKey);
    switch (m_mouseInfoItem->mouseSource()) {
    case 1:
        return QString::fromLatin1(kAppKeyInternational);
    case 2:
        return QString::fromLatin1(kAppKeyAsiaPacific);
    default:
        return QString::fromLatin1(kAppKeyDomestic);
    }
}

void QXUserInfoData::setAppKey(const std::optional<QString> &appKey)
{
    std::lock_guard lock(m_mutex);
    v->appKey = textOrEmpty(appKey);
    storeValue(kAppKey, *v->appKey);
}

// A persisted boolean or integer whose setter writes only on change.
#define QX_PERSISTED(Type, getter, setter, member, storeKey)                                                           \
    QX_USERINFO_GETTER(Type, getter, member)                                                                           \
    void QXUserInfoData::setter(Type value)                                                                            \
    {                                                                                                                  \
        std::lock_guard lock(m_mutex);                                                                                 \
        if (v->member == value)                                                                                        \
            return;                                                                                                    \
        v->member = value;                                                                                             \
        storeValue(storeKey, value);                                                                                   \
    }

QX_PERSISTED(bool, bootUpSwitch, setBootUpSwitch, bootUpSwitch, kBootUpSwitchKey)
QX_PERSISTED(bool, wordInputSwitch, setWordInputSwitch, wordInputSwitch, kWordInputSwitchKey)
QX_PERSISTED(bool, screenshotsTranslateSwitch, setScreenshotsTranslateSwitch, screenshotsTranslateSwitch,
             kScreenshotsTranslateSwitchKey)
QX_PERSISTED(bool, punctuationSwitch, setPunctuationSwitch, punctuationSwitch, kPunctuationSwitchKey)
QX_PERSISTED(bool, compatibleModeSwitch, setCompatibleModeSwitch, compatibleModeSwitch, kCompatibleModeSwitchKey)
QX_PERSISTED(bool, longVoiceModeSwitch, setLongVoiceModeSwitch, longVoiceModeSwitch, kLongVoiceModeSwitchKey)
QX_PERSISTED(bool, rgbSwitch, setRgbSwitch, rgbSwitch, kRgbSwitchKey)
QX_PERSISTED(bool, voiceBroadcastSwitch, setVoiceBroadcastSwitch, voiceBroadcastSwitch, kVoiceBroadcastSwitchKey)
QX_PERSISTED(bool, rememberPasswordSwitch, setRememberPasswordSwitch, rememberPasswordSwitch,
             kRememberPasswordSwitchKey)
QX_PERSISTED(qint64, laserPenVoiceFunctionIndex, setLaserPenVoiceFunctionIndex, laserPenVoiceFunctionIndex,
             kLaserPenVoiceFunctionIndexKey)
QX_PERSISTED(qint64, lowPowerNum, setLowPowerNum, lowPowerNum, kLowPowerNumKey)
#undef QX_PERSISTED

qint64 QXUserInfoData::voiceWakeUpIndex() const
{
    std::lock_guard lock(m_mutex);
    return v->voiceWakeUpIndex;
}

void QXUserInfoData::setVoiceWakeUpIndex(qint64 index)
{
    std::function<void()> registerHotKey;
    {
        std::lock_guard lock(m_mutex);
        if (v->voiceWakeUpIndex == index)
            return;
        v->voiceWakeUpIndex = index;
        storeValue(kVoiceWakeUpIndexKey, index);
        registerHotKey = m_registerHotKey;
    }
    // Outside the lock: the HID device reads this state while it registers.
    if (registerHotKey)
        registerHotKey();
}

QString QXUserInfoData::screenshotsPath() const
{
    std::lock_guard lock(m_mutex);
    return qx::detachedCopy(v->screenshotsPath);
}

void QXUserInfoData::setScreenshotsPath(const std::optional<QString> &path)
{
    std::lock_guard lock(m_mutex);
    v->screenshotsPath = textOrEmpty(path);
    storeValue(kScreenshotsPathKey, v->screenshotsPath);
}

QString QXUserInfoData::account() const
{
    std::lock_guard lock(m_mutex);
    return qx::detachedCopy(v->account);
}

void QXUserInfoData::setAccount(const std::optional<QString> &account)
{
    std::lock_guard lock(m_mutex);
    const QString text = textOrEmpty(account);
    if (text == v->account)
        return;
    v->account = text;
    storeValue(kAccountKey, text);
}

QString QXUserInfoData::xunFeiAppId() const
{
    std::lock_guard lock(m_mutex);
    return qx::detachedCopy(v->xunFeiAppId.value_or(QString()));
}

void QXUserInfoData::setXunFeiAppId(const std::optional<QString> &appId)
{
    std::lock_guard lock(m_mutex);
    if (v->xunFeiAppId == appId)
        return;
    v->xunFeiAppId = appId;
    storeValue(kXunFeiAppIdKey, appId ? QVariant(textOrEmpty(appId)) : QVariant());
}

QString QXUserInfoData::xunFeiAppKey() const
{
    std::lock_guard lock(m_mutex);
    return qx::detachedCopy(v->xunFeiAppKey.value_or(QString()));
}

void QXUserInfoData::setXunFeiAppKey(const std::optional<QString> &appKey)
{
    std::lock_guard lock(m_mutex);
    if (v->xunFeiAppKey == appKey)
        return;
    v->xunFeiAppKey = appKey;
    storeValue(kXunFeiAppKeyKey, appKey ? QVariant(textOrEmpty(appKey)) : QVariant());
}

// A voice-chip text: written only when the new text is non-empty, with no change test.
#define QX_CHIP_TEXT(getter, setter, member, storeKey)                                                                 \
    QX_USERINFO_GETTER(std::optional<QString>, getter, member)                                                         \
    void QXUserInfoData::setter(const std::optional<QString> &value)                                                   \
    {                                                                                                                  \
        if (!value || value->isEmpty())                                                                                \
            return;                                                                                                    \
        std::lock_guard lock(m_mutex);                                                                                 \
        v->member = *value;                                                                                            \
        storeValue(storeKey, *value);                                                                                  \
    }

QX_CHIP_TEXT(IFlytekChip_FirmwareVersion, setIFlytekChip_FirmwareVersion, chipFirmwareVersion, kChipFirmwareVersionKey)
QX_CHIP_TEXT(IFlytekChip_ID, setIFlytekChip_ID, chipId, kChipIdKey)
QX_CHIP_TEXT(IFlytekChip_DeviceID, setIFlytekChip_DeviceID, chipDeviceId, kChipDeviceIdKey)
QX_CHIP_TEXT(IFlytekChip_AuthDataStr, setIFlytekChip_AuthDataStr, chipAuthDataStr, kChipAuthDataStrKey)
QX_CHIP_TEXT(IFlytekChip_token, setIFlytekChip_token, chipToken, kChipTokenKey)
QX_CHIP_TEXT(IFlytekChip_tokenExpireAt, setIFlytekChip_tokenExpireAt, chipTokenExpireAt, kChipTokenExpireAtKey)
#undef QX_CHIP_TEXT

void QXUserInfoData::resetIFlytekChip_tokenExpireAt()
{
    std::lock_guard lock(m_mutex);
    v->chipTokenExpireAt = QString();
    storeValue(kChipTokenExpireAtKey, QString());
}
