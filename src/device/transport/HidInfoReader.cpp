#include "HidInfoReader.h"

#include "AUSoundAdditions.h"
#include "HRVLocalizedString.h"
#include "HidInfoFields.h"
#include "IHidInfoCommands.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXUserInfoData.h"
#include "platform/ShortcutBinder.h"
#include "services/Neighbours.h"

#include <array>
#include <cmath>

namespace {

using qx::notify::HadUSBInfoNotification;
using qx::notify::kUSBInsertNotification;

constexpr quint16 kPointerReceiverVid = 0x3151;
constexpr quint16 kPointerReceiverPid = 0x23ab;
constexpr int kVolumeStepMs = 200;
constexpr float kVolumeStep = 0.1f;
// Mice of this serial run with a fixed sensor whose DPI list the receiver misreports.
const char kFixedSensorSerial[] = "2020050100008";

const char kWordShortcutKey[] = "WordShortcutKey";
const char kTranslateShortcutKey[] = "TranslateShortcutKey";
const char kSearchShortcutKey[] = "SearchShortcutKey";
const char kChangeModeShortcutKey[] = "ChangeModeShortcutKey";

// macOS key codes of the default hot keys.
constexpr int kMacF1 = 122;
constexpr int kMacF2 = 120;
constexpr int kMacF3 = 99;

struct HotKeyReceiver {
    quint16 vid;
    quint16 pid;
    int chipPlan; // the family it switches to; -1 leaves plan and key setting alone
};
constexpr std::array<HotKeyReceiver, 4> kHotKeyReceivers{{
    {0x13ca, 0x12ac, -1},
    {0x13ba, 0x12ab, -1},
    {0x3151, 0x20ab, 2},
    {0x248a, 0x64ab, 6},
}};

void tip(const char *text, const char *image)
{
    neighbours().tips->showTipMessage(hrvAppLocalizedString(QString::fromUtf8(text)), QString::fromLatin1(image));
}

} // namespace

HidInfoReader::HidInfoReader(const Deps &deps) : m_deps(deps)
{
    if (bool(m_deps.pressType) != bool(m_deps.setPressType)) {
        qxWarning("hidinfo") << "press-type storage needs both accessors; the reader keeps its own";
        m_deps.pressType = nullptr;
        m_deps.setPressType = nullptr;
    }
}

qint64 HidInfoReader::pressType() const
{
    return m_deps.pressType ? m_deps.pressType() : m_pressType;
}

void HidInfoReader::setPressType(qint64 type)
{
    if (m_deps.setPressType)
        m_deps.setPressType(type);
    else
        m_pressType = type;
}

HidInfoReader::~HidInfoReader()
{
    invalidateTimer();
    if (m_boundHotKeys)
        breakHotKeyBindings();
}

platform::ShortcutBinder &HidInfoReader::binder() const
{
    return m_deps.binder ? *m_deps.binder : platform::ShortcutBinder::sharedBinder();
}

// --- the per-byte reader ------------------------------------------------------------

void HidInfoReader::getDeivceInfoWithBuf(const QByteArray &report, quint16 vid, quint16 pid)
{
    const QXUserInfoData &state = QXUserInfoData::sharedInstance();
    for (int offset = 0; offset < report.size(); ++offset) {
        // The plan is read afresh at every byte: an action of an earlier byte may
        // have switched the family.
        const qint64 plan = state.chipPlan();
        const quint8 byte = quint8(report.at(offset));
        Read read = Read::Continue;
        if (plan != 2) {
            if (offset == 7)
                read = applyKeyRule(byte);
            else
                readPlanOther(offset, byte);
        } else if (vid == kPointerReceiverVid && pid == kPointerReceiverPid) {
            read = readPointerReceiver(offset, byte);
        } else if (offset == 2) {
            read = applyKeyRule(byte);
        } else {
            readPlanTwo(offset, report);
        }
        if (read == Read::Stop)
            return;
    }
}

void HidInfoReader::readPlanOther(int offset, quint8 byte)
{
    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    QXMouseInfoItem &item = state.mouseInfoItem();
    switch (offset) {
    case 1: {
        const bool connected = hidinfo::digitValue(byte) == 1;
        if (connected != state.mouseIsConnect()) {
            state.setMouseIsConnect(connected);
            postNotification(kUSBInsertNotification);
        }
        break;
    }
    case 2:
        item.setPowerPercent(hidinfo::digitValue(byte));
        break;
    case 3:
        item.setDeviceType(quint64(hidinfo::digitValue(byte)));
        break;
    case 4: {
        const quint64 icType = hidinfo::icTypeFromSensorByte(byte);
        item.setIcType(icType);
        item.setMouseType(hidinfo::mouseTypeFromSensorByte(byte));
        state.setMouseDpiArrayWithType(qint64(icType));
        break;
    }
    case 5:
        item.setDpi(hidinfo::dpiIndexFromReport(byte, item.icType()));
        break;
    case 6:
        item.setLed(hidinfo::digitValue(byte));
        break;
    case 8:
        if (byte == 4 || byte == 2)
            neighbours().laserPen->clearDraw();
        // The first complete report announces the device, whatever its mode byte.
        if (!state.isNeedMouseInfo())
            firstInfoReceived();
        break;
    default:
        break;
    }
}

void HidInfoReader::firstInfoReceived()
{
    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    QXMouseInfoItem &item = state.mouseInfoItem();
    state.setIsNeedMouseInfo(true);
    postNotification(HadUSBInfoNotification);
    if (item.deviceType() == 2)
        neighbours().laserPen->dismissEffect();
    if (item.sn().contains(QLatin1String(kFixedSensorSerial)) && item.dpi() == 4) {
        item.setIcType(5);
        state.setMouseDpiArrayWithType(5);
        if (m_deps.commands)
            m_deps.commands->sendSetDpiData(3);
        else
            qxLogOnce("hidinfo:commands", "no command manager: the DPI correction is not sent");
        postNotification(HadUSBInfoNotification);
    }
}

HidInfoReader::Read HidInfoReader::readPointerReceiver(int offset, quint8 byte)
{
    QXUserInfoData::sharedInstance().mouseInfoItem().setDeviceType(2);
    if (offset != 2)
        return Read::Continue;
    if (byte == hidinfo::kPointerEffectKeyByte)
        neighbours().laserPen->clearDraw();
    return applyKeyRule(hidinfo::pointerReceiverKeyCode(byte));
}

void HidInfoReader::readPlanTwo(int offset, const QByteArray &report)
{
    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    QXMouseInfoItem &item = state.mouseInfoItem();
    const quint8 byte = quint8(report.at(offset));
    switch (offset) {
    case 3:
        item.setDpi(byte);
        break;
    case 4:
        item.setPowerPercent(hidinfo::digitValue(byte));
        break;
    case 6: // the sensor id spans bytes 5 and 6
        item.setIcType(hidinfo::icTypeFromSensorId(quint8(report.at(5)), byte));
        break;
    case 7:
        item.setMouseType(byte);
        state.setMouseDpiArrayWithType(qint64(item.icType()));
        if (!state.isNeedMouseInfo()) {
            state.setMouseIsConnect(true);
            postNotification(kUSBInsertNotification);
            state.setIsNeedMouseInfo(true);
            postNotification(HadUSBInfoNotification);
        }
        break;
    default:
        break;
    }
}

HidInfoReader::Read HidInfoReader::applyKeyRule(qint64 keyValue)
{
    const int type = convertPressTypeWithNum(keyValue);
    const qint64 held = pressType();
    if (type == 0 || type == held)
        return Read::Continue;
    // A search key while typing or translation is held would cut that voice input
    // short; the report is dropped from here on.
    if ((type == 35 || type == 36) && (held == 33 || held == 37))
        return Read::Stop;
    setPressType(type);
    neighbours().voice->hidCallbackType(type);
    return Read::Continue;
}

// --- press types -------------------------------------------------------------------

int HidInfoReader::convertPressTypeWithNum(qint64 num)
{
    const bool pointer = QXUserInfoData::sharedInstance().mouseInfoItem().deviceType() == 2;
    // Pointers send a key-up (0) after every key, so the same code again means the
    // key is still held and the device re-sent its report: not a new press. Taken as
    // one, it would cycle the mode twice or stop the volume repeat it started.
    if (pointer && num != 0 && num == m_tempNum)
        return 0;
    if (num != 0)
        invalidateTimer();
    if (pointer)
        return convertPointer(num);

    if (num == hidinfo::kModeToggleKey) {
        const qint64 held = pressType();
        if (held != 33 && held != 37) {
            IVoiceKeyDispatcher &voice = *neighbours().voice;
            const bool translate = !voice.isTranslate();
            voice.setIsTranslate(translate);
            if (translate)
                tip("切换到翻译模式", "laserPen_icon-7");
            else
                tip("切换到打字模式", "laserPen_icon-6");
        }
        return 0;
    }
    return hidinfo::nonPointerPressType(num, neighbours().voice->isTranslate());
}

int HidInfoReader::convertPointer(qint64 num)
{
    // Outside plan 2 a key pressed while another is held is only remembered.
    if (m_tempNum != 0 && QXUserInfoData::sharedInstance().chipPlan() != 2) {
        m_tempNum = num;
        return 0;
    }
    ILaserPen &pen = *neighbours().laserPen;
    int type = 0;
    switch (num) {
    case 32:
        cycleVoiceMode();
        break;
    case 37:
    case 38: {
        const int mode = pen.vioceMode();
        const bool down = num == 37;
        if (mode == 1)
            type = down ? 33 : 34;
        else if (mode == 2 || mode == 3)
            type = down ? 37 : 38;
        break;
    }
    case 39:
        type = 35;
        break;
    case 40:
        type = 36;
        break;
    case 64:
        pen.changeLaserPenStatus(false);
        break;
    case 69:
        pen.showLaserPenEffect();
        break;
    case 70:
        pen.dismissEffect();
        break;
    case 71:
    case 73:
        m_isIncreaseSystemVolume = num == 71;
        startVolumeTime();
        break;
    case 72:
    case 74:
        invalidateTimer();
        break;
    default:
        break;
    }
    m_tempNum = num;
    return type;
}

void HidInfoReader::cycleVoiceMode()
{
    neighbours().voice->cancelAsr();
    ILaserPen &pen = *neighbours().laserPen;
    int mode = pen.vioceMode() + 1;
    if (mode >= 4 || mode <= 0)
        mode = 1;
    pen.setVioceMode(mode);
    switch (mode) {
    case 1:
        tip("切换到打字模式", "laserPen_icon-6");
        break;
    case 2:
        tip("切换到翻译模式", "laserPen_icon-7");
        break;
    default:
        tip("切换到投屏模式", "laserPen_icon-2");
        break;
    }
}

// --- volume repeat -----------------------------------------------------------------

void HidInfoReader::startVolumeTime()
{
    invalidateTimer();
    m_timerScheduler = &Scheduler::instance();
    m_volumeTimer = m_timerScheduler->repeating(kVolumeStepMs, [this] { changeSystemVolume(); });
}

void HidInfoReader::invalidateTimer()
{
    if (m_timerScheduler)
        cancelTimer(*m_timerScheduler, m_volumeTimer);
    m_timerScheduler = nullptr;
}

void HidInfoReader::changeSystemVolume()
{
    if (m_isIncreaseSystemVolume)
        AUSoundAdditions::increaseSystemVolumeBy(kVolumeStep, m_deps.volume);
    else
        AUSoundAdditions::decreaseSystemVolumeBy(kVolumeStep, m_deps.volume);
    const float volume = AUSoundAdditions::systemVolume(m_deps.volume);
    // Rounded, not truncated: 0.7 is held as 0.69999... and would show as 69.
    const long percent = std::lround(double(volume) * 100.0);
    neighbours().tips->showTipMessage(QStringLiteral("当前音量 %1").arg(percent),
                                      m_isIncreaseSystemVolume ? QStringLiteral("laserPen_icon-10")
                                                               : QStringLiteral("laserPen_icon-11"));
}

// --- hot keys --------------------------------------------------------------------------

void HidInfoReader::registerHotKey(quint16 vid, quint16 pid)
{
    const HotKeyReceiver *receiver = nullptr;
    for (const HotKeyReceiver &r : kHotKeyReceivers)
        if (r.vid == vid && r.pid == pid)
            receiver = &r;
    if (!receiver)
        return;

    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    state.mouseInfoItem().setDeviceType(3);
    if (receiver->chipPlan >= 0) {
        writeLog(QStringLiteral("语音助手接收器"));
        state.setChipPlan(receiver->chipPlan);
        state.setIsSupportKeySetting(true);
    }

    platform::ShortcutBinder &b = binder();
    b.registerDefaults({{kWordShortcutKey, {kMacF1, 0}},
                        {kTranslateShortcutKey, {kMacF2, 0}},
                        {kSearchShortcutKey, {kMacF3, 0}}});
    b.bindShortcutWithDefaultsKey(kWordShortcutKey, [this] { wordShortcutPressed(); });
    b.bindShortcutWithDefaultsKey(kTranslateShortcutKey, [this] { translateShortcutPressed(); });
    b.bindShortcutWithDefaultsKey(kSearchShortcutKey, [this] { searchShortcutPressed(); });
    b.setAllowAnyShortcutWithOptionModifier(true);
    m_boundHotKeys = true;

    state.setMouseIsConnect(true);
    postNotification(kUSBInsertNotification);
    state.setIsNeedMouseInfo(true);
    postNotification(HadUSBInfoNotification);
}

void HidInfoReader::breakHotKeyBindings()
{
    platform::ShortcutBinder &b = binder();
    for (const char *key : {kWordShortcutKey, kTranslateShortcutKey, kSearchShortcutKey, kChangeModeShortcutKey})
        b.breakBindingWithDefaultsKey(QString::fromLatin1(key));
    m_boundHotKeys = false;
}

bool HidInfoReader::hotKeyDeviceReady(const char *key) const
{
    if (QXUserInfoData::sharedInstance().isConnect())
        return true;
    qxInfo("hidinfo") << key << "pressed without a connected device; ignored";
    return false;
}

void HidInfoReader::hotKeyConverted(qint64 downCode, qint64 upCode)
{
    IVoiceKeyDispatcher &voice = *neighbours().voice;
    const int type = convertPressTypeWithNum(voice.hadStart() ? upCode : downCode);
    setPressType(type);
    voice.hidCallbackType(type);
}

void HidInfoReader::hotKeyDirect(int downType, int upType)
{
    if (QXUserInfoData::sharedInstance().sno().isEmpty()) {
        qxInfo("hidinfo") << "hot key ignored: the receiver has no serial number yet";
        return;
    }
    IVoiceKeyDispatcher &voice = *neighbours().voice;
    const bool stop = voice.hadStart();
    if (m_deps.commands) {
        if (stop)
            m_deps.commands->sendCloseMicData();
        else
            m_deps.commands->sendOpenMicData();
    } else {
        qxLogOnce("hidinfo:commands", "no command manager: the receiver's microphone is not switched");
    }
    voice.hidCallbackType(stop ? upType : downType);
}

void HidInfoReader::wordShortcutPressed()
{
    if (!hotKeyDeviceReady(kWordShortcutKey))
        return;
    const qint64 plan = QXUserInfoData::sharedInstance().chipPlan();
    if (plan == 2 || plan == 6) {
        const bool translate = neighbours().voice->isTranslate();
        hotKeyDirect(translate ? 37 : 33, translate ? 38 : 34);
    } else {
        hotKeyConverted(51, 52);
    }
}

void HidInfoReader::translateShortcutPressed()
{
    if (!hotKeyDeviceReady(kTranslateShortcutKey))
        return;
    if (QXUserInfoData::sharedInstance().chipPlan() == 2)
        hotKeyDirect(37, 38);
    else
        hotKeyConverted(53, 54);
}

void HidInfoReader::searchShortcutPressed()
{
    if (!hotKeyDeviceReady(kSearchShortcutKey))
        return;
    if (QXUserInfoData::sharedInstance().chipPlan() == 2)
        hotKeyDirect(35, 36);
    else
        hotKeyConverted(49, 50);
}
