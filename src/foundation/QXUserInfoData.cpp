#include "QXUserInfoData.h"

#include "DataPaths.h"
#include "DetachedCopy.h"
#include "InstalledInstance.h"
#include "KeyValueStore.h"
#include "PZLog.h"
#include "TextNumber.h"
#include "platform/ISecretStore.h"
#include "platform/PlatformServices.h"
#include "services/LanguageHooks.h"

#include <atomic>

namespace {

// Preference keys.
constexpr char kAppKey[] = "appKey";
constexpr char kBootUpSwitchKey[] = "bootUpSwitchKey";
constexpr char kWordInputSwitchKey[] = "wordInputSwitchKey";
constexpr char kScreenshotsTranslateSwitchKey[] = "screenshotsTranslateSwitchKey";
constexpr char kPunctuationSwitchKey[] = "punctuationSwitchKey";
constexpr char kCompatibleModeSwitchKey[] = "compatibleModeSwitchKey";
constexpr char kLongVoiceModeSwitchKey[] = "longVoiceModeSwitchKey";
constexpr char kRgbSwitchKey[] = "rgbSwitchKey";
constexpr char kVoiceWakeUpIndexKey[] = "voiceWakeUpIndexKey";
constexpr char kScreenshotsPathKey[] = "screenshotsPathKey";
constexpr char kVoiceBroadcastSwitchKey[] = "voiceBroadcastSwitchKey";
constexpr char kRememberPasswordSwitchKey[] = "rememberPasswordSwitchKey";
constexpr char kAccountKey[] = "accountKey";
constexpr char kPasswordKey[] = "passwordKey";
constexpr char kXunFeiAppIdKey[] = "xunFeiAppId";
constexpr char kXunFeiAppKeyKey[] = "xunFeiAppKey";
constexpr char kLaserPenVoiceFunctionIndexKey[] = "laserPenVoiceFunctionIndexKey";
constexpr char kLowPowerNumKey[] = "lowPowerNumKey";
constexpr char kChipFirmwareVersionKey[] = "IFlytekChip_FirmwareVersionKey";
constexpr char kChipIdKey[] = "IFlytekChip_IDKey";
constexpr char kChipDeviceIdKey[] = "IFlytekChip_DeviceIDKey";
constexpr char kChipAuthDataStrKey[] = "IFlytekChip_AuthDataStrKey";
constexpr char kChipTokenKey[] = "IFlytekChip_tokenKey";
constexpr char kChipTokenExpireAtKey[] = "IFlytekChip_tokenExpireAtKey";
// Set once the long-voice mode has been switched on for existing users.
constexpr char kLongVoiceMigrationKey[] = "QuorvexLongVoiceForceOnMigration_v1";

// Built-in speech-SDK and OCR credentials, used until a device profile supplies others.
constexpr char kBuiltInXunFeiAppId[] = "7c2d91fa";
constexpr char kBuiltInXunFeiAppKey[] = "c15d8e3a2b7f4096d1e8a5c3f7b20d4e";

// Built-in app keys by receiver origin.
constexpr char kAppKeyInternational[] = "a94d2c7e5f1b4039c8e6d2a7b1f5c043";
constexpr char kAppKeyAsiaPacific[] = "0e7b5a3c9d2f41e6a8c3b7d9e0f1a254";
constexpr char kAppKeyDomestic[] = "6b3f9e1d0a7c48e2b5d4c8f1a0e3972b";

QString key(const char *k)
{
    return QString::fromLatin1(k);
}

// "" rather than a null QString, so a stored empty text stays an empty text.
QString textOrEmpty(const std::optional<QString> &text)
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
QString copyOut(const QString &value)
{
    return qx::detachedCopy(value);
}
std::optional<QString> copyOut(const std::optional<QString> &value)
{
    return qx::detachedCopy(value);
}
QStringList copyOut(const QStringList &value)
{
    return qx::detachedCopy(value);
}
QByteArray copyOut(const QByteArray &value)
{
    return qx::detachedCopy(value);
}

} // namespace

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

// --- persisted preferences ------------------------------------------------------------

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
    Type QXUserInfoData::getter() const                                                                                \
    {                                                                                                                  \
        std::lock_guard lock(m_mutex);                                                                                 \
        return v->member;                                                                                              \
    }                                                                                                                  \
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

QString QXUserInfoData::password() const
{
    const_cast<QXUserInfoData *>(this)->ensurePasswordLoaded();
    std::lock_guard lock(m_mutex);
    return qx::detachedCopy(v->password);
}

void QXUserInfoData::fetchPassword(std::function<void(const QString &password)> completion)
{
    ensurePasswordLoaded();
    if (m_passwordReading) {
        m_passwordWaiters.push_back(std::move(completion));
        return;
    }
    if (completion)
        completion(password());
}

void QXUserInfoData::setPassword(const std::optional<QString> &password)
{
    const QString text = textOrEmpty(password);
    ensurePasswordLoaded();
    {
        std::lock_guard lock(m_mutex);
        // While the keyring is still being read the password held is not the kept one:
        // write whatever is set.
        if (!m_passwordReading && text == v->password)
            return;
        v->password = text;
    }
    if (m_passwordReading)
        m_passwordSetWhileReading = true;
    keepPassword(text);
}

void QXUserInfoData::loadPassword()
{
    // Asking the keyring loads libsecret and starts its GLib thread and session-bus
    // connection, which then stay for the process's life. So the keyring is asked when
    // the password is first wanted, not at start-up; only a password still in the file
    // moves there at once, so it does not wait on disk in the clear.
    if (m_secrets && !m_store.contains(key(kPasswordKey))) {
        m_passwordPending = true;
        return;
    }
    readPassword();
}

void QXUserInfoData::ensurePasswordLoaded()
{
    if (!m_passwordPending)
        return;
    m_passwordPending = false;
    readPassword();
}

void QXUserInfoData::readPassword()
{
    const std::optional<QString> inFile = m_store.contains(key(kPasswordKey))
                                              ? std::optional<QString>(m_store.stringValue(key(kPasswordKey)))
                                              : std::nullopt;
    // Until the keyring answers, the file's password (if any) is the one known.
    {
        std::lock_guard lock(m_mutex);
        v->password = textOrEmpty(inFile);
    }
    if (!m_secrets)
        return;
    m_passwordReading = true;
    m_secrets->readSecret(key(kPasswordKey), [this, life = std::weak_ptr<int>(m_life),
                                              inFile](const platform::ISecretStore::ReadResult &r) {
        if (life.lock())
            passwordRead(r, inFile);
    });
}

void QXUserInfoData::passwordRead(const platform::ISecretStore::ReadResult &vault, const std::optional<QString> &inFile)
{
    m_passwordReading = false;
    if (vault.ok && !m_passwordSetWhileReading) {
        // A password in the file is newer than the keyring's: it was written while
        // no keyring answered. Move it over.
        if (inFile) {
            keepPassword(textOrEmpty(inFile));
        } else {
            std::lock_guard lock(m_mutex);
            v->password = textOrEmpty(vault.value);
        }
    }
    m_passwordSetWhileReading = false;
    const QString known = password();
    for (auto &waiter : std::exchange(m_passwordWaiters, {}))
        if (waiter)
            waiter(known);
}

void QXUserInfoData::keepPassword(const QString &password)
{
    if (!m_secrets) {
        storeValue(kPasswordKey, password);
        return;
    }
    const quint64 write = ++m_passwordWrites;
    m_secrets->writeSecret(
        key(kPasswordKey), password, [this, life = std::weak_ptr<int>(m_life), write, password](bool ok) {
            // A later password was set meanwhile: its own write decides where it is kept.
            if (!life.lock() || write != m_passwordWrites)
                return;
            if (ok) {
                if (m_store.contains(key(kPasswordKey)))
                    m_store.remove(key(kPasswordKey));
                return;
            }
            qxLogOnce(QStringLiteral("state:password-in-file"),
                      QStringLiteral("no keyring answers; the remembered password is kept in the preference file"));
            storeValue(kPasswordKey, password);
        });
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
    std::optional<QString> QXUserInfoData::getter() const                                                              \
    {                                                                                                                  \
        std::lock_guard lock(m_mutex);                                                                                 \
        return qx::detachedCopy(v->member);                                                                            \
    }                                                                                                                  \
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

// --- in-memory state ------------------------------------------------------------------------

// A plain in-memory field: the setter only holds the value.
#define QX_HELD(Type, getter, setter, member)                                                                          \
    Type QXUserInfoData::getter() const                                                                                \
    {                                                                                                                  \
        std::lock_guard lock(m_mutex);                                                                                 \
        return copyOut(v->member);                                                                                     \
    }                                                                                                                  \
    void QXUserInfoData::setter(const Type &value)                                                                     \
    {                                                                                                                  \
        std::lock_guard lock(m_mutex);                                                                                 \
        v->member = value;                                                                                             \
    }

#define QX_HELD_SCALAR(Type, getter, setter, member)                                                                   \
    Type QXUserInfoData::getter() const                                                                                \
    {                                                                                                                  \
        std::lock_guard lock(m_mutex);                                                                                 \
        return v->member;                                                                                              \
    }                                                                                                                  \
    void QXUserInfoData::setter(Type value)                                                                            \
    {                                                                                                                  \
        std::lock_guard lock(m_mutex);                                                                                 \
        v->member = value;                                                                                             \
    }

QX_HELD_SCALAR(bool, usbInsert, setUsbInsert, usbInsert)
QX_HELD_SCALAR(bool, usbConnect, setUsbConnect, usbConnect)
QX_HELD_SCALAR(bool, mouseIsConnect, setMouseIsConnect, mouseIsConnect)
QX_HELD_SCALAR(bool, bleConnect, setBleConnect, bleConnect)
QX_HELD_SCALAR(bool, isNeedMouseInfo, setIsNeedMouseInfo, isNeedMouseInfo)
QX_HELD_SCALAR(bool, isSupportKeySetting, setIsSupportKeySetting, isSupportKeySetting)
QX_HELD(QString, deviceName, setDeviceName, deviceName)
QX_HELD(QString, blueDeviceMac, setBlueDeviceMac, blueDeviceMac)

QX_HELD_SCALAR(qint64, chipPlan, setChipPlan, chipPlan)
QX_HELD_SCALAR(qint64, samplingRate, setSamplingRate, samplingRate)
QX_HELD_SCALAR(qint64, productType, setProductType, productType)
QX_HELD_SCALAR(qint64, reportRate, setReportRate, reportRate)
QX_HELD_SCALAR(bool, funcSwitch, setFuncSwitch, funcSwitch)
QX_HELD_SCALAR(quint64, keyAction, setKeyAction, keyAction)

QX_HELD(QString, region, setRegion, region)
QX_HELD(QString, sno, setSno, sno)
QX_HELD_SCALAR(bool, isLaser, setIsLaser, isLaser)
QX_HELD_SCALAR(bool, isVoice, setIsVoice, isVoice)
QX_HELD_SCALAR(bool, isIFlytekChip, setIsIFlytekChip, isIFlytekChip)
QX_HELD_SCALAR(bool, isAmbientLightSwitch, setIsAmbientLightSwitch, isAmbientLightSwitch)
QX_HELD_SCALAR(bool, isKeyboard, setIsKeyboard, isKeyboard)
QX_HELD_SCALAR(bool, isConfigAI, setIsConfigAI, isConfigAI)
QX_HELD_SCALAR(bool, isHideDPI, setIsHideDPI, isHideDPI)
QX_HELD(QStringList, reportRateArr, setReportRateArr, reportRateArr)
QX_HELD(QStringList, serviceDpiArr, setServiceDpiArr, serviceDpiArr)
QX_HELD(QString, serviceGPTS, setServiceGPTS, serviceGPTS)
QX_HELD(QString, webURL, setWebURL, webURL)
QX_HELD(QString, chatGPTURL, setChatGPTURL, chatGPTURL)
QX_HELD(QList<MouseSettingModel>, mouseSettingArr, setMouseSettingArr, mouseSettingArr)
QX_HELD_SCALAR(bool, isHaveGPT, setIsHaveGPT, isHaveGPT)
QX_HELD_SCALAR(bool, isForceGetRequest, setIsForceGetRequest, isForceGetRequest)

QX_HELD_SCALAR(bool, isLogin, setIsLogin, isLogin)
QX_HELD(std::optional<QXLoginResultModel>, loginResult, setLoginResult, loginResult)

QX_HELD_SCALAR(quint64, IFlytekChip_time, setIFlytekChip_time, chipTime)
QX_HELD(QByteArray, IFlytekChip_AuthData, setIFlytekChip_AuthData, chipAuthData)

QX_HELD(std::optional<QString>, mouseOTAFilePath, setMouseOTAFilePath, mouseOTAFilePath)
QX_HELD(std::optional<QString>, dongleOTAFilePath, setDongleOTAFilePath, dongleOTAFilePath)

QX_HELD_SCALAR(bool, isScreenshotsTranslate, setIsScreenshotsTranslate, isScreenshotsTranslate)
QX_HELD_SCALAR(qint64, recordStatus, setRecordStatus, recordStatus)
QX_HELD_SCALAR(bool, checkMicSwitch, setCheckMicSwitch, checkMicSwitch)
QX_HELD_SCALAR(bool, semanticSwitch, setSemanticSwitch, semanticSwitch)
QX_HELD_SCALAR(bool, isNeedUpLoadBurnerInfo, setIsNeedUpLoadBurnerInfo, isNeedUpLoadBurnerInfo)
QX_HELD(std::optional<QString>, lastPasteboardContent, setLastPasteboardContent, lastPasteboardContent)
QX_HELD(std::optional<QString>, pasteboardContent, setPasteboardContent, pasteboardContent)
QX_HELD_SCALAR(bool, isManualSendCopy, setIsManualSendCopy, isManualSendCopy)
#undef QX_HELD
#undef QX_HELD_SCALAR

void QXUserInfoData::appendIFlytekChip_AuthData(const QByteArray &bytes)
{
    std::lock_guard lock(m_mutex);
    v->chipAuthData.append(bytes);
}

bool QXUserInfoData::isConnect() const
{
    std::lock_guard lock(m_mutex);
    return v->mouseIsConnect || v->bleConnect;
}

QString QXUserInfoData::productCode() const
{
    std::lock_guard lock(m_mutex);
    if (v->productCode && !v->productCode->isEmpty())
        return qx::detachedCopy(*v->productCode);
    // The fallback is latched: it stays even when the mouse type changes later.
    v->productCode = QString::number(m_mouseInfoItem->mouseType());
    return qx::detachedCopy(*v->productCode);
}

void QXUserInfoData::setProductCode(const std::optional<QString> &code)
{
    std::lock_guard lock(m_mutex);
    v->productCode = code;
}

bool QXUserInfoData::isDisableDevice() const
{
    switch (qx::leadingInteger(productCode())) {
    case 328:
    case 282:
    case 370:
    case 412:
        return true;
    default:
        return false;
    }
}

bool QXUserInfoData::isIFlyAsr() const
{
    if (longVoiceModeSwitch())
        return false;
    const QString code = currentAudioLanguageCode();
    if (!code.startsWith(QLatin1String("ZH")) && code != QLatin1String("EN_US"))
        return false;
    // Choosing the SDK without one would leave every recognition silent.
    if (!platform::services().asrSdkEngine) {
        qxLogOnce(QStringLiteral("voice.no-asr-sdk"),
                  QStringLiteral("[voice] the vendor speech SDK is not available on this system; speech language %1 "
                                 "with long voice off is recognised by the websocket speech service")
                      .arg(code));
        return false;
    }
    return true;
}

// --- DPI list ---------------------------------------------------------------------------------

std::optional<QStringList> QXUserInfoData::dpiArray() const
{
    std::lock_guard lock(m_mutex);
    return v->dpiArray ? std::optional<QStringList>(qx::detachedCopy(*v->dpiArray)) : std::nullopt;
}

namespace {
std::atomic<QXUserInfoData::DpiChoiceLookup> g_dpiChoiceLookup{nullptr};
} // namespace

QXUserInfoData::DpiChoiceLookup QXUserInfoData::setDpiChoiceLookup(DpiChoiceLookup lookup)
{
    return g_dpiChoiceLookup.exchange(lookup);
}

QXUserInfoData::DpiChoiceLookup QXUserInfoData::dpiChoiceLookup()
{
    return g_dpiChoiceLookup.load();
}

void QXUserInfoData::setMouseDpiArrayWithType(qint64 chipType)
{
    const DpiChoiceLookup lookup = g_dpiChoiceLookup.load();
    std::lock_guard lock(m_mutex);
    if (!lookup) {
        qxLogOnce(QStringLiteral("state.dpi"), QStringLiteral("no DPI tables installed; the DPI list stays"));
        return;
    }
    DpiChoice choice = lookup(v->chipPlan, chipType);
    if (choice.prefersProfileList && !v->serviceDpiArr.isEmpty()) {
        v->dpiArray = v->serviceDpiArr;
        return;
    }
    if (choice.steps)
        v->dpiArray = std::move(*choice.steps);
}

QStringList QXUserInfoData::getMouseDpiArray() const
{
    std::lock_guard lock(m_mutex);
    // The list shown before any device was seen.
    return v->dpiArray ? qx::detachedCopy(*v->dpiArray)
                       : QStringList{QStringLiteral("800dpi"), QStringLiteral("1000dpi"), QStringLiteral("1200dpi"),
                                     QStringLiteral("1600dpi")};
}
