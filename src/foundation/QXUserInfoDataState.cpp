// QXUserInfoData: what is held for the run only (connection, device family and profile,
// account, firmware, transient flags) and what is derived from it.
#include "QXUserInfoDataValues.h"

#include "PZLog.h"
#include "TextNumber.h"
#include "platform/PlatformServices.h"
#include "services/LanguageHooks.h"

using namespace userinfo;

// A plain in-memory field: the setter only holds the value.
#define QX_HELD(Type, getter, setter, member)                                                                          \
    QX_USERINFO_GETTER(Type, getter, member)                                                                           \
    void QXUserInfoData::setter(const Type &value)                                                                     \
    {                                                                                                                  \
        std::lock_guard lock(m_mutex);                                                                                 \
        v->member = value;                                                                                             \
    }

#define QX_HELD_SCALAR(Type, getter, setter, member)                                                                   \
    QX_USERINFO_GETTER(Type, getter, member)                                                                           \
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
