// What the parts of QXUserInfoData share: the held values, the preference keys and
// the copy rules. Included by the QXUserInfoData*.cpp files only.
#pragma once

#include "DetachedCopy.h"
#include "QXUserInfoData.h"

namespace userinfo {

// Preference keys.
inline constexpr char kAppKey[] = "appKey";
inline constexpr char kBootUpSwitchKey[] = "bootUpSwitchKey";
inline constexpr char kWordInputSwitchKey[] = "wordInputSwitchKey";
inline constexpr char kScreenshotsTranslateSwitchKey[] = "screenshotsTranslateSwitchKey";
inline constexpr char kPunctuationSwitchKey[] = "punctuationSwitchKey";
inline constexpr char kCompatibleModeSwitchKey[] = "compatibleModeSwitchKey";
inline constexpr char kLongVoiceModeSwitchKey[] = "longVoiceModeSwitchKey";
inline constexpr char kRgbSwitchKey[] = "rgbSwitchKey";
inline constexpr char kVoiceWakeUpIndexKey[] = "voiceWakeUpIndexKey";
inline constexpr char kScreenshotsPathKey[] = "screenshotsPathKey";
inline constexpr char kVoiceBroadcastSwitchKey[] = "voiceBroadcastSwitchKey";
inline constexpr char kRememberPasswordSwitchKey[] = "rememberPasswordSwitchKey";
inline constexpr char kAccountKey[] = "accountKey";
inline constexpr char kPasswordKey[] = "passwordKey";
inline constexpr char kXunFeiAppIdKey[] = "xunFeiAppId";
inline constexpr char kXunFeiAppKeyKey[] = "xunFeiAppKey";
inline constexpr char kLaserPenVoiceFunctionIndexKey[] = "laserPenVoiceFunctionIndexKey";
inline constexpr char kLowPowerNumKey[] = "lowPowerNumKey";
inline constexpr char kChipFirmwareVersionKey[] = "IFlytekChip_FirmwareVersionKey";
inline constexpr char kChipIdKey[] = "IFlytekChip_IDKey";
inline constexpr char kChipDeviceIdKey[] = "IFlytekChip_DeviceIDKey";
inline constexpr char kChipAuthDataStrKey[] = "IFlytekChip_AuthDataStrKey";
inline constexpr char kChipTokenKey[] = "IFlytekChip_tokenKey";
inline constexpr char kChipTokenExpireAtKey[] = "IFlytekChip_tokenExpireAtKey";
// Set once the long-voice mode has been switched on for existing users.
inline constexpr char kLongVoiceMigrationKey[] = "QuorvexLongVoiceForceOnMigration_v1";

// Built-in speech-SDK and OCR credentials, used until a device profile supplies others.
inline constexpr char kBuiltInXunFeiAppId[] = "7c2d91fa";
inline constexpr char kBuiltInXunFeiAppKey[] = "c15d8e3a2b7f4096d1e8a5c3f7b20d4e";

// Built-in app keys by receiver origin.
inline constexpr char kAppKeyInternational[] = "a94d2c7e5f1b4039c8e6d2a7b1f5c043";
inline constexpr char kAppKeyAsiaPacific[] = "0e7b5a3c9d2f41e6a8c3b7d9e0f1a254";
inline constexpr char kAppKeyDomestic[] = "6b3f9e1d0a7c48e2b5d4c8f1a0e3972b";

inline QString key(const char *k)
{
    return QString::fromLatin1(k);
}

// "" rather than a null QString, so a stored empty text stays an empty text.
inline QString textOrEmpty(const std::optional<QString> &text)
{
    return text && !text->isNull() ? *text : QStringLiteral("");
}

// What a getter hands out: texts, lists of texts and bytes as copies that share
// nothing with the held value (see DetachedCopy.h); the rest as is. The key models and
// the account record are read on the main thread only.
template <typename T> T copyOut(const T &value)
{
    return value;
}
inline QString copyOut(const QString &value)
{
    return qx::detachedCopy(value);
}
inline std::optional<QString> copyOut(const std::optional<QString> &value)
{
    return qx::detachedCopy(value);
}
inline QStringList copyOut(const QStringList &value)
{
    return qx::detachedCopy(value);
}
inline QByteArray copyOut(const QByteArray &value)
{
    return qx::detachedCopy(value);
}

} // namespace userinfo

// The getter of a held field: what copyOut() hands out, read under the lock.
#define QX_USERINFO_GETTER(Type, getter, member)                                                                       \
    Type QXUserInfoData::getter() const                                                                                \
    {                                                                                                                  \
        std::lock_guard lock(m_mutex);                                                                                 \
        return userinfo::copyOut(v->member);                                                                           \
    }

struct QXUserInfoData::Values {
    // persisted
    std::optional<QString> appKey;
    bool bootUpSwitch = false;
    bool wordInputSwitch = false;
    bool screenshotsTranslateSwitch = true;
    bool punctuationSwitch = false;
    bool compatibleModeSwitch = true;
    bool longVoiceModeSwitch = true;
    bool rgbSwitch = true;
    qint64 voiceWakeUpIndex = 0;
    QString screenshotsPath;
    bool voiceBroadcastSwitch = false;
    bool rememberPasswordSwitch = false;
    QString account;
    QString password;
    std::optional<QString> xunFeiAppId;
    std::optional<QString> xunFeiAppKey;
    qint64 laserPenVoiceFunctionIndex = 0;
    qint64 lowPowerNum = 10;
    std::optional<QString> chipFirmwareVersion, chipId, chipDeviceId, chipAuthDataStr, chipToken, chipTokenExpireAt;

    // connection
    bool usbInsert = false, usbConnect = false, mouseIsConnect = false, bleConnect = false;
    bool isNeedMouseInfo = false, isSupportKeySetting = false;
    QString deviceName, blueDeviceMac;

    // device family
    qint64 chipPlan = 0, samplingRate = 0, productType = 0, reportRate = 0;
    std::optional<QString> productCode; // latched by the getter, hence read-write under const
    bool funcSwitch = true;
    quint64 keyAction = 0;

    // device profile
    QString region, sno;
    bool isLaser = false, isVoice = false, isIFlytekChip = false, isAmbientLightSwitch = false, isKeyboard = false,
         isConfigAI = false, isHideDPI = false;
    QStringList reportRateArr, serviceDpiArr;
    QString serviceGPTS, webURL, chatGPTURL;
    QList<MouseSettingModel> mouseSettingArr;
    bool isHaveGPT = false, isForceGetRequest = false;
    std::optional<QStringList> dpiArray;

    // account
    bool isLogin = false;
    std::optional<QXLoginResultModel> loginResult;

    // voice chip
    quint64 chipTime = 0;
    QByteArray chipAuthData;

    // firmware
    std::optional<QString> mouseOTAFilePath, dongleOTAFilePath;

    // transient
    bool isScreenshotsTranslate = false, checkMicSwitch = false, semanticSwitch = false, isNeedUpLoadBurnerInfo = false,
         isManualSendCopy = false;
    qint64 recordStatus = 0;
    std::optional<QString> lastPasteboardContent, pasteboardContent;
};
