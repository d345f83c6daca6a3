#pragma once

#include "MouseSettingModel.h"
#include "QXMouseInfoItem.h"
#include "platform/ISecretStore.h"
#include "services/QXLoginResultModel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class KeyValueStore;

// The application-wide state: the user's persisted preferences (loaded from the
// preference store when the object is made, written back at once by their setters),
// the in-memory state of the connected device and of this run (connection flags,
// device family, the server's device profile, clipboard bookkeeping), and a few
// values derived on every read. It owns the device state (mouseInfoItem).
//
// Writers run on the main thread. The speech pipeline reads from its own thread, so
// every field is guarded by one mutex: each getter returns a copy taken under it
// (texts as copies sharing no data, see DetachedCopy.h). The key models
// (mouseSettingArr) and the account record are for the main thread only.
// No setter posts a notification.
//
// Text values where "never set" and "" mean different things are std::optional.
class QXUserInfoData {
public:
    // With a secret store the remembered password lives in the desktop keyring; a
    // password found in the preference file moves there. Without one, or when no
    // keyring answers, it stays in the (owner-only) preference file.
    explicit QXUserInfoData(KeyValueStore &store, platform::ISecretStore *secrets = nullptr);
    ~QXUserInfoData();
    QXUserInfoData(const QXUserInfoData &) = delete;
    QXUserInfoData &operator=(const QXUserInfoData &) = delete;

    // The process-wide instance, which the composition root constructed and installed.
    static QXUserInfoData &sharedInstance();
    static QXUserInfoData *setSharedInstance(QXUserInfoData *instance); // returns the previous one

    // Called after voiceWakeUpIndex changes, so the HID device re-registers its hot keys.
    void setRegisterHotKeyHandler(std::function<void()> handler);

    // --- persisted preferences -------------------------------------------------------
    // The held app key (even ""), else the built-in key of the receiver's origin
    // (mouseSource). The built-in key is not stored.
    QString appKey() const;
    void setAppKey(const std::optional<QString> &appKey); // always written; nullopt as ""

    bool bootUpSwitch() const;
    void setBootUpSwitch(bool on);
    bool wordInputSwitch() const;
    void setWordInputSwitch(bool on);
    bool screenshotsTranslateSwitch() const;
    void setScreenshotsTranslateSwitch(bool on);
    bool punctuationSwitch() const;
    void setPunctuationSwitch(bool on);
    // On at every launch, whatever was stored.
    bool compatibleModeSwitch() const;
    void setCompatibleModeSwitch(bool on);
    bool longVoiceModeSwitch() const;
    void setLongVoiceModeSwitch(bool on);
    bool rgbSwitch() const;
    void setRgbSwitch(bool on);
    qint64 voiceWakeUpIndex() const;
    void setVoiceWakeUpIndex(qint64 index);
    // The folder for screenshots, with a trailing "/".
    QString screenshotsPath() const;
    void setScreenshotsPath(const std::optional<QString> &path); // always written; nullopt as ""
    bool voiceBroadcastSwitch() const;
    void setVoiceBroadcastSwitch(bool on);
    bool rememberPasswordSwitch() const;
    void setRememberPasswordSwitch(bool on);
    QString account() const;
    void setAccount(const std::optional<QString> &account); // nullopt as ""; written when the text differs
    // Main thread. The password as known now: the first call asks the keyring, and
    // until it answered this is the preference file's password or "".
    QString password() const;
    // Main thread. The password once the keyring has answered (or given up): at once
    // when that is known already, else when the answer comes; exactly once.
    void fetchPassword(std::function<void(const QString &password)> completion);
    // As setAccount. The new password counts at once, whatever the keyring's answer
    // to a read still under way; it goes to the keyring, and to the preference file
    // when no keyring takes it.
    void setPassword(const std::optional<QString> &password);
    QString xunFeiAppId() const;
    void setXunFeiAppId(const std::optional<QString> &appId); // nullopt removes the stored value
    QString xunFeiAppKey() const;
    void setXunFeiAppKey(const std::optional<QString> &appKey);
    qint64 laserPenVoiceFunctionIndex() const;
    void setLaserPenVoiceFunctionIndex(qint64 index);
    qint64 lowPowerNum() const;
    void setLowPowerNum(qint64 percent);

    // Voice-chip values as the device and the chip vendor report them; nullopt until
    // known. The setters ignore an empty or absent text, so a value cannot be cleared.
    std::optional<QString> IFlytekChip_FirmwareVersion() const;
    void setIFlytekChip_FirmwareVersion(const std::optional<QString> &value);
    std::optional<QString> IFlytekChip_ID() const;
    void setIFlytekChip_ID(const std::optional<QString> &value);
    std::optional<QString> IFlytekChip_DeviceID() const;
    void setIFlytekChip_DeviceID(const std::optional<QString> &value);
    std::optional<QString> IFlytekChip_AuthDataStr() const;
    void setIFlytekChip_AuthDataStr(const std::optional<QString> &value);
    std::optional<QString> IFlytekChip_token() const;
    void setIFlytekChip_token(const std::optional<QString> &value);
    std::optional<QString> IFlytekChip_tokenExpireAt() const;
    void setIFlytekChip_tokenExpireAt(const std::optional<QString> &value);
    // Clears the expiry to "" (the setter cannot): another device needs a new token.
    void resetIFlytekChip_tokenExpireAt();

    // --- connection --------------------------------------------------------------------
    bool usbInsert() const;
    void setUsbInsert(bool on);
    bool usbConnect() const;
    void setUsbConnect(bool on);
    bool mouseIsConnect() const;
    void setMouseIsConnect(bool on);
    bool bleConnect() const;
    void setBleConnect(bool on);
    bool isConnect() const; // mouseIsConnect or bleConnect
    bool isNeedMouseInfo() const;
    void setIsNeedMouseInfo(bool on);
    bool isSupportKeySetting() const;
    void setIsSupportKeySetting(bool on);
    QString deviceName() const;
    void setDeviceName(const QString &name);
    QString blueDeviceMac() const;
    void setBlueDeviceMac(const QString &mac);

    // --- device family -----------------------------------------------------------------
    qint64 chipPlan() const; // HID frame layout, 0..7
    void setChipPlan(qint64 plan);
    qint64 samplingRate() const;
    void setSamplingRate(qint64 rate);
    qint64 productType() const;
    void setProductType(qint64 type);
    // The held code when non-empty; otherwise the decimal text of the device's mouse
    // type, which is then held until a setter replaces it.
    QString productCode() const;
    void setProductCode(const std::optional<QString> &code);
    qint64 reportRate() const;
    void setReportRate(qint64 rate);
    bool funcSwitch() const; // on at start
    void setFuncSwitch(bool on);
    quint64 keyAction() const;
    void setKeyAction(quint64 operationType);

    // --- device profile ----------------------------------------------------------------
    QString region() const;
    void setRegion(const QString &region);
    QString sno() const;
    void setSno(const QString &sno);
    bool isLaser() const;
    void setIsLaser(bool on);
    bool isVoice() const;
    void setIsVoice(bool on);
    bool isIFlytekChip() const;
    void setIsIFlytekChip(bool on);
    bool isAmbientLightSwitch() const;
    void setIsAmbientLightSwitch(bool on);
    bool isKeyboard() const;
    void setIsKeyboard(bool on);
    bool isConfigAI() const;
    void setIsConfigAI(bool on);
    bool isHideDPI() const;
    void setIsHideDPI(bool on);
    // The profile's report rates and DPI labels; empty when the profile gave none.
    QStringList reportRateArr() const;
    void setReportRateArr(const QStringList &rates);
    QStringList serviceDpiArr() const;
    void setServiceDpiArr(const QStringList &steps);
    QString serviceGPTS() const;
    void setServiceGPTS(const QString &gpts);
    QString webURL() const;
    void setWebURL(const QString &url);
    QString chatGPTURL() const;
    void setChatGPTURL(const QString &url);
    // The profile's keys. A copy: a page that edits the keys hands the edited list back.
    QList<MouseSettingModel> mouseSettingArr() const;
    void setMouseSettingArr(const QList<MouseSettingModel> &keys);
    bool isHaveGPT() const;
    void setIsHaveGPT(bool on);
    bool isForceGetRequest() const;
    void setIsForceGetRequest(bool on);

    // --- DPI list --------------------------------------------------------------------------
    std::optional<QStringList> dpiArray() const; // nullopt until first built
    // What the device family offers for a sensor chip type: its built-in steps (nullopt:
    // no row) and whether the device profile's list, when it has entries, comes first.
    struct DpiChoice {
        bool prefersProfileList = false;
        std::optional<QStringList> steps;
    };
    // The DPI tables belong to the device families, above this layer: the composition
    // root installs their lookup (DpiTables::choiceFor). Without one the list is never
    // rebuilt. Process-wide, like the shared instance; nullptr removes it. Returns the
    // lookup it replaces.
    using DpiChoiceLookup = DpiChoice (*)(qint64 chipPlan, qint64 chipType);
    static DpiChoiceLookup setDpiChoiceLookup(DpiChoiceLookup lookup);
    static DpiChoiceLookup dpiChoiceLookup();
    // Rebuilds the DPI list for a sensor chip type: the profile's list when the family
    // prefers it and it has entries; otherwise the family's built-in steps. A chip type
    // without a row leaves the list as it was.
    void setMouseDpiArrayWithType(qint64 chipType);
    QStringList getMouseDpiArray() const; // the list, or 800/1000/1200/1600 before any
    // The device's DPI setting is the list index itself.
    static qint64 getIndexWithDpiNum(qint64 dpiNum) { return dpiNum; }
    static qint64 getDpiNumWithIndex(qint64 index) { return index; }

    // --- account -----------------------------------------------------------------------------
    bool isLogin() const;
    void setIsLogin(bool on);
    std::optional<QXLoginResultModel> loginResult() const;
    void setLoginResult(const std::optional<QXLoginResultModel> &result);

    // --- voice chip ----------------------------------------------------------------------
    quint64 IFlytekChip_time() const;
    void setIFlytekChip_time(quint64 time);
    // Authorisation bytes the HID parser accumulates across reports.
    QByteArray IFlytekChip_AuthData() const;
    void setIFlytekChip_AuthData(const QByteArray &data);
    void appendIFlytekChip_AuthData(const QByteArray &bytes);

    // --- firmware ----------------------------------------------------------------------------
    std::optional<QString> mouseOTAFilePath() const;
    void setMouseOTAFilePath(const std::optional<QString> &path);
    std::optional<QString> dongleOTAFilePath() const;
    void setDongleOTAFilePath(const std::optional<QString> &path);

    // --- transient -----------------------------------------------------------------------
    bool isScreenshotsTranslate() const;
    void setIsScreenshotsTranslate(bool on);
    qint64 recordStatus() const;
    void setRecordStatus(qint64 status);
    bool checkMicSwitch() const;
    void setCheckMicSwitch(bool on);
    bool semanticSwitch() const; // nothing in the application turns it on
    void setSemanticSwitch(bool on);
    bool isNeedUpLoadBurnerInfo() const;
    void setIsNeedUpLoadBurnerInfo(bool on);
    std::optional<QString> lastPasteboardContent() const;
    void setLastPasteboardContent(const std::optional<QString> &text);
    std::optional<QString> pasteboardContent() const;
    void setPasteboardContent(const std::optional<QString> &text);
    bool isManualSendCopy() const;
    void setIsManualSendCopy(bool on);

    // --- derived -------------------------------------------------------------------------
    // Whether the vendor speech SDK serves the speech language: never in long-voice
    // mode; otherwise for Chinese ("ZH...") and "EN_US", when an SDK engine is
    // registered with the platform services (none on Linux).
    bool isIFlyAsr() const;
    // Products without AI pages (product code 328, 282, 370 or 412).
    bool isDisableDevice() const;

    // The device state, made with this object and kept for its lifetime.
    QXMouseInfoItem &mouseInfoItem() const { return *m_mouseInfoItem; }

private:
    struct Values;
    void load();
    void loadPassword();
    void ensurePasswordLoaded(); // asks the keyring on the first use of the password
    void readPassword();
    void passwordRead(const platform::ISecretStore::ReadResult &vault, const std::optional<QString> &inFile);
    void keepPassword(const QString &password);
    void storeValue(const char *key, const QVariant &value);

    KeyValueStore &m_store;
    platform::ISecretStore *m_secrets;
    mutable std::mutex m_mutex;
    std::unique_ptr<Values> v; // every field, guarded by m_mutex
    std::unique_ptr<QXMouseInfoItem> m_mouseInfoItem;
    std::function<void()> m_registerHotKey;
    // The password's keyring traffic (main thread only, as are the password's users):
    // not asked yet; a read under way, with whoever waits for it; a newer password set
    // while it runs; the number of the latest write (an older write's answer is stale).
    bool m_passwordPending = false;
    bool m_passwordReading = false;
    bool m_passwordSetWhileReading = false;
    std::vector<std::function<void(const QString &)>> m_passwordWaiters;
    quint64 m_passwordWrites = 0;
    // Keyring answers that arrive after this object went find it expired.
    std::shared_ptr<int> m_life = std::make_shared<int>(0);
};
