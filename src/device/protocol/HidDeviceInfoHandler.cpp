#include "HidDeviceInfoHandler.h"

#include "DeviceInfo.h"
#include "DpiTables.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXMouseCommandManager.h"
#include "QXUserInfoData.h"
#include "ReceiverTable.h"
#include "TPRDelayInvocation.h"
#include "TextNumber.h"
#include "services/VoiceKeyState.h"

#include <QPointer>

#include <array>

using proto::hidDeviceText;
using proto::hidHexText;
using proto::HidReport;
using proto::HidReportFamily;
using Via = QXHidReportParser::PresentVia;

namespace {

void post(const char *name)
{
    postNotification(QString::fromLatin1(name));
}

QXUserInfoData &state()
{
    return QXUserInfoData::sharedInstance();
}

QXMouseInfoItem &item()
{
    return QXUserInfoData::sharedInstance().mouseInfoItem();
}

int le16(QByteArrayView b, int at)
{
    return int(uint8_t(b[at])) | int(uint8_t(b[at + 1])) << 8;
}

// Serial numbers in the framed information: "" when nothing but "0" is left.
QString serialText(QByteArrayView bytes)
{
    const QString text = hidDeviceText(bytes);
    for (QChar c : text)
        if (c != QLatin1Char('0'))
            return text;
    return QString();
}

bool allZero(QByteArrayView bytes)
{
    for (char c : bytes)
        if (c != 0)
            return false;
    return true;
}

void setIcType(quint64 icType)
{
    item().setIcType(icType);
    state().setMouseDpiArrayWithType(qint64(icType));
}

void setModel(quint64 model)
{
    item().setMouseType(model);
    state().setProductCode(QString::number(model));
}

} // namespace

qint64 HidDeviceInfoHandler::plan3DpiIndex(quint64 icType, int raw)
{
    // Sensor type 4 counts from 1 here; a raw 0 would make index -1, outside every DPI list.
    if (icType == 4)
        return std::max(0, raw - 1);
    return DpiTables::indexFromRaw(icType, raw);
}

// --- device information (0x61) ------------------------------------------------------------------

void HidDeviceInfoHandler::deviceInfo(const HidReport &r)
{
    if (r.family == HidReportFamily::Framed) {
        const quint64 type = item().deviceType();
        if (type == 3)
            framedHotKeyInfo(r);
        else if (type == 5)
            framedType5Info(r);
        else
            framedDeviceInfo(r);
        // The pop-up web site stays off while the application runs.
        m_parser.hidManager().sendClosePopUpWebSiteData();
        return;
    }
    planDeviceInfo(r);
}

void HidDeviceInfoHandler::framedDeviceInfo(const HidReport &r)
{
    const QByteArrayView p = r.payload(); // at least 40 bytes (checked by the classifier)
    QXHidCommandManager &hid = m_parser.hidManager();
    item().setSn(serialText(p.first(30)));
    const int pid = le16(p, 30);
    const int vid = le16(p, 32);
    item().setPid(quint16(pid));
    item().setVid(quint16(vid));
    item().setLed(uint8_t(p[34]));
    item().setMic(uint8_t(p[35]));
    setIcType(uint8_t(p[36]));
    item().setDpi(uint8_t(p[37]));
    const quint64 model = uint8_t(p[38]);
    setModel(model);
    item().setPowerPercent(uint8_t(p[39]));
    if (p.size() >= 46)
        item().setFirmwareVersion(hidDeviceText(p.sliced(40, 6)));

    if (const std::optional<int> source = qx::receivers::mouseSourceOfProduct(vid, pid))
        item().setMouseSource(quint64(*source));
    if (model == 0xCA)
        item().setDeviceType(2); // pointer receiver
    if (model == 0x38 || model == 0x48) {
        hid.sendGetLightingEffectsModeData();
        hid.sendGetLightingEffectsBrightnessData();
        hid.sendGetLightingEffectsSpeedData();
        hid.sendGetLightingEffectsColorData();
        hid.sendGetMouseLeftOrRightHandBehavior();
    }
    hid.sendGetDongleInfo();
    if (item().mic() == 1 && !hid.seams().keys->hadStart())
        hid.sendCloseMicData();
    post(qx::notify::HadUSBInfoNotification);
    post(qx::notify::HadElectricInfoNotification);
}

void HidDeviceInfoHandler::framedHotKeyInfo(const HidReport &r)
{
    const QByteArrayView p = r.payload(); // at least 37 bytes
    item().setSn(serialText(p.first(30)));
    setModel(uint8_t(p[30]));
    item().setFirmwareVersion(hidDeviceText(p.sliced(31, 6)));
    post(qx::notify::HadUSBInfoNotification);
}

void HidDeviceInfoHandler::framedType5Info(const HidReport &r)
{
    const QByteArrayView p = r.payload(); // at least 16 bytes
    item().setSn(allZero(p.first(6)) ? QString() : hidHexText(p.first(6)));
    item().setPid(quint16(le16(p, 6)));
    item().setVid(quint16(le16(p, 8)));
    const int ledMic = uint8_t(p[10]);
    if (ledMic <= 3) {
        item().setLed((ledMic >> 1) & 1);
        item().setMic(ledMic & 1);
    }
    setIcType(uint8_t(p[11]));
    item().setDpi(uint8_t(p[12]));
    setModel(uint8_t(p[13]));
    item().setPowerPercent(uint8_t(p[14]));
    item().setFirmwareVersion(hidHexText(p.sliced(15, 1)));
    post(qx::notify::HadUSBInfoNotification);
    post(qx::notify::HadElectricInfoNotification);
}

void HidDeviceInfoHandler::planDeviceInfo(const HidReport &r)
{
    if (r.bytes.size() < 21) // the classifier drops shorter replies
        return;
    const bool plan6 = r.family == HidReportFamily::Plan6;
    const proto::HidReportContext ctx = m_parser.context();
    const proto::DeviceInfo info = proto::decodeDeviceInfo(
        r.bytes, {r.family, qx::receivers::receiverHas(ctx.vendorId, ctx.productId, qx::receivers::kDecimalFirmware)});
    applyPlanDeviceInfo(info, plan6, r.timeReply);
}

void HidDeviceInfoHandler::applyPlanDeviceInfo(const proto::DeviceInfo &info, bool plan6, bool timeReply)
{
    QXHidCommandManager &hid = m_parser.hidManager();
    const QString &sn = info.sn;
    item().setMic(info.mic.value_or(0));
    item().setLed(info.led.value_or(0));
    const bool samplingRate = info.samplingRate.value_or(false);
    state().setSamplingRate(samplingRate ? 1 : 0);
    setIcType(quint64(info.icType));
    item().setDpi(info.dpi);
    state().setProductType(info.productType.value_or(0));
    item().setPowerPercent(info.powerPercent);
    const QString firmware = info.firmwareVersion.value_or(QString());
    item().setFirmwareVersion(firmware);
    const quint64 model = quint64(info.mouseType);
    if (plan6)
        telinkAudioRate(firmware, samplingRate);

    state().setProductCode(QString::number(model));
    if (sn != item().sn() || model != item().mouseType()) {
        item().setSn(sn);
        item().setMouseType(model);
        state().resetIFlytekChip_tokenExpireAt();
        post(qx::notify::HadUSBInfoNotification);
    }
    post(qx::notify::kUpdateDPIItemNotification);
    post(qx::notify::kUpdateFirmwareVersionNotification);
    writeLog(QStringLiteral("鼠标信息：sn=%1，光电类型=%2，mouseType=%3，firmwareVersion=%4，productCode=%5")
                 .arg(sn)
                 .arg(item().icType())
                 .arg(model)
                 .arg(firmware, state().productCode()));
    if (item().mic() == 1 && !m_parser.hidManager().seams().keys->hadStart())
        m_parser.facade().sendCloseMicData();
    if (plan6) {
        if (model == 18)
            hid.sendTelinkLaserPenCurrentTimeData();
        if (timeReply)
            hid.sendCurrentTimeData();
    } else {
        m_parser.presentAction(Via::Facade, QStringLiteral("info"));
    }
}

void HidDeviceInfoHandler::telinkAudioRate(const QString &firmware, bool samplingRate)
{
    if (m_parser.hidManager().seams().keys->hadStart())
        return;
    const int f = qx::leadingInteger(firmware);
    const proto::HidReportContext ctx = m_parser.context();
    QXHidCommandManager &hid = m_parser.hidManager();
    if (f >= 12 && f <= 21 && !samplingRate) {
        hid.sendSetTelinkBurnerInfozAudio_reat(1);
    } else if (f == 11) {
        using namespace qx::receivers;
        if (samplingRate && receiverHas(ctx.vendorId, ctx.productId, kFw11RateOffWhenFlagged))
            hid.sendSetTelinkBurnerInfozAudio_reat(0);
        else if (!samplingRate && receiverHas(ctx.vendorId, ctx.productId, kFw11RateOnWhenUnflagged))
            hid.sendSetTelinkBurnerInfozAudio_reat(1);
    }
}

// --- connection status (0x69) -------------------------------------------------------------------

void HidDeviceInfoHandler::connectionStatus(const HidReport &r)
{
    const bool framed = r.family == HidReportFamily::Framed;
    if (r.status == 0)
        m_parser.presentAction(framed ? Via::HidManager : Via::Facade, QStringLiteral("status"));
    else
        m_parser.goneAction(true);
    if (framed)
        return;

    const QByteArrayView b(r.bytes); // plan 7: bytes 0 to 7, plan 6: 0 to 8
    item().setPowerPercent(uint8_t(b[5]));
    post(qx::notify::HadElectricInfoNotification);
    const int divisor = uint8_t(b[6]);
    if (divisor != 0) {
        const qint64 rate = 1000 / divisor;
        if (rate != state().reportRate()) {
            state().setReportRate(rate);
            post(qx::notify::kUpdateReportRateItemNotification);
        }
    }
    state().setRgbSwitch(uint8_t(b[7]) == 1);
    post(qx::notify::kUpdateLightingEffectsNotification);
    if (r.family == HidReportFamily::Plan6) {
        const bool on = uint8_t(b[8]) == 0;
        if (on != state().funcSwitch()) {
            state().setFuncSwitch(on);
            post(qx::notify::kUpdateFunctionNotification);
        }
    }
}

// --- receiver connection "0d5243" ------------------------------------------------------------------

void HidDeviceInfoHandler::receiverConnection(const HidReport &r)
{
    QXUserInfoData &st = state();
    if (r.byteOr(3) == 1) {
        if (st.mouseIsConnect())
            return;
        st.setMouseIsConnect(true);
        if (r.size() * 2 >= 21 && r.size() >= 10)
            item().setMacAddress(QStringLiteral("0x") + hidHexText(QByteArrayView(r.bytes).sliced(4, 6)));
        st.setIsSupportKeySetting(true);
        m_parser.cancelPeripheralConnection();
        m_parser.hidManager().invalidateTimer();
        post(qx::notify::kUSBInsertNotification);
        return;
    }
    if (!st.mouseIsConnect())
        return;
    st.setMouseIsConnect(false);
    m_parser.startScan();
    m_parser.hidManager().startTimer();
    post(qx::notify::kUSBRemoveNotification);
}

// --- plan 4 ------------------------------------------------------------------------------------------

void HidDeviceInfoHandler::plan4Info(const HidReport &r)
{
    const QByteArrayView b(r.bytes); // bytes 0 to 7
    item().setPowerPercent(uint8_t(b[3]));
    setModel(uint8_t(b[4]));
    setIcType(uint8_t(b[6]));
    item().setDpi(uint8_t(b[7]));
    QXHidCommandManager *hid = &m_parser.hidManager();
    hid->sendGetMouseSN();
    TPRDelayInvocationTrailing(
        GroupKey::unique(),
        [hid, alive = QPointer<QObject>(hid->lifetime())] {
            if (alive)
                hid->sendGetDeviceFireware();
        },
        QXHidReportParser::kPlan4FirmwareDelaySeconds);
    post(qx::notify::HadUSBInfoNotification);
    post(qx::notify::HadElectricInfoNotification);
}

void HidDeviceInfoHandler::plan4Serial(const HidReport &r)
{
    const QString sn = hidHexText(QByteArrayView(r.bytes).sliced(3, 6)).toUpper();
    if (sn == item().sn())
        return;
    item().setSn(sn);
    post(qx::notify::HadUSBInfoNotification);
}

void HidDeviceInfoHandler::plan4Firmware(const HidReport &r)
{
    // Bytes 3 to 20, as far as the report goes (the re-framed receiver's are one shorter).
    const QByteArrayView b(r.bytes);
    const QString firmware = hidDeviceText(b.sliced(3, std::min<qsizetype>(18, b.size() - 3)));
    if (firmware == item().firmwareVersion())
        return;
    item().setFirmwareVersion(firmware);
    post(qx::notify::HadUSBInfoNotification);
}

// --- plan 3 --------------------------------------------------------------------------------------------

void HidDeviceInfoHandler::plan3Status(const HidReport &r)
{
    const QByteArrayView b(r.bytes); // bytes 0 to 20
    QXUserInfoData &st = state();
    const bool connected = uint8_t(b[1]) == 1;
    if (connected != st.mouseIsConnect()) {
        st.setMouseIsConnect(connected);
        post(qx::notify::kUSBInsertNotification);
        post(qx::notify::HadUSBInfoNotification);
    }
    item().setPowerPercent(uint8_t(b[2]));
    // The sensor byte comes first: the DPI byte is read in its sensor's scale.
    static constexpr quint64 kSensors[] = {1, 2, 1, 4, 5};
    const int sensor = uint8_t(b[5]);
    if (sensor >= 1 && sensor <= 5)
        setIcType(kSensors[sensor - 1]);
    const qint64 dpi = plan3DpiIndex(item().icType(), uint8_t(b[4]));
    if (dpi != item().dpi()) {
        item().setDpi(dpi);
        post(qx::notify::HadUSBInfoNotification);
    }
    item().setFirmwareVersion(QString::number(uint8_t(b[7])));
    item().setMic(uint8_t(b[9]));
    if (m_parser.hidManager().isStartVoice())
        return;
    QByteArray serial;
    for (int i = 15; i >= 10; --i)
        serial.append(b[i]);
    item().setSn(hidHexText(serial));
    item().setVid(uint8_t(b[18]));
    item().setPid(uint8_t(b[19]));
    setModel(uint8_t(b[20]));
}
