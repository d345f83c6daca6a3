#include "HidInfoReader.h"

#include "DpiTables.h"
#include "HidInfoFields.h"
#include "IHidInfoCommands.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXUserInfoData.h"
#include "ReceiverTable.h"
#include "platform/KeyCodeTable.h"
#include "platform/ShortcutBinder.h"
#include "services/VoiceKeyState.h"

#include <array>

namespace {

using qx::notify::HadUSBInfoNotification;
using qx::notify::kUSBInsertNotification;

// Mice of this serial run with a fixed sensor whose DPI list the receiver misreports.
const char kFixedSensorSerial[] = "2020050100008";

const char kWordShortcutKey[] = "WordShortcutKey";
const char kTranslateShortcutKey[] = "TranslateShortcutKey";
const char kSearchShortcutKey[] = "SearchShortcutKey";
const char kChangeModeShortcutKey[] = "ChangeModeShortcutKey";

} // namespace

HidInfoReader::HidInfoReader(const Deps &deps)
    : m_deps(deps), m_converter(PressTypeConverter::Options{deps.seams, deps.volume, /*dropPointerRepeats=*/true})
{
    m_deps.seams = m_deps.seams.resolved();
    if (bool(m_deps.pressType) != bool(m_deps.setPressType)) {
        qxWarning("hidinfo") << "press-type storage needs both accessors; the reader keeps its own";
        m_deps.pressType = nullptr;
        m_deps.setPressType = nullptr;
    }
}

void HidInfoReader::listHooks(HookStates &out) const
{
    static_assert(sizeof(Deps) == sizeof(DeviceSeams) + 3 * sizeof(void *) + 2 * sizeof(std::function<void()>),
                  "a new member is listed here too");
    out.in(QStringLiteral("HidInfoReader"))
        .addSeams("deps.seams", m_deps.seams)
        .add("deps.commands", m_deps.commands)
        .add("deps.volume", m_deps.volume)
        .add("deps.binder", m_deps.binder)
        .add("deps.pressType", m_deps.pressType)
        .add("deps.setPressType", m_deps.setPressType);
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
        } else if (qx::receivers::receiverHas(vid, pid, qx::receivers::kPointerReports)) {
            read = readPointerReceiver(offset, byte);
        } else if (offset == 2) {
            read = applyKeyRule(byte);
        } else {
            readPlanTwoField(offset, report);
        }
        if (read == Read::Stop)
            return;
    }
}

void HidInfoReader::readPlanOther(int offset, quint8 byte)
{
    if (offset != 8) {
        readPlanOtherField(offset, byte);
        return;
    }
    if (byte == 4 || byte == 2)
        m_deps.seams.laserPen->clearDraw();
    // The first complete report announces the device, whatever its mode byte.
    if (!QXUserInfoData::sharedInstance().isNeedMouseInfo())
        firstInfoReceived();
}

void HidInfoReader::readPlanOtherField(int offset, quint8 byte)
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
        item.setDpi(DpiTables::indexFromRaw(item.icType(), byte));
        break;
    case 6:
        item.setLed(hidinfo::digitValue(byte));
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
        m_deps.seams.laserPen->dismissEffect();
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
        m_deps.seams.laserPen->clearDraw();
    return applyKeyRule(hidinfo::pointerReceiverKeyCode(byte));
}

void HidInfoReader::readPlanTwoField(int offset, const QByteArray &report)
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
    switch (hidinfo::keyRule(type, pressType())) {
    case hidinfo::KeyRule::Ignore:
        return Read::Continue;
    case hidinfo::KeyRule::StopReport:
        return Read::Stop;
    case hidinfo::KeyRule::Take:
        break;
    }
    setPressType(type);
    m_deps.seams.voice->hidCallbackType(type);
    return Read::Continue;
}

// --- hot keys --------------------------------------------------------------------------

void HidInfoReader::registerHotKey(quint16 vid, quint16 pid)
{
    const qx::receivers::ReceiverRow *receiver = qx::receivers::findReceiver(vid, pid);
    if (!receiver || !receiver->has(qx::receivers::kHotKey))
        return;

    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    state.mouseInfoItem().setDeviceType(3);
    if (receiver->hotKeyPlan != 0) {
        writeLog(QStringLiteral("语音助手接收器"));
        state.setChipPlan(receiver->hotKeyPlan);
        state.setIsSupportKeySetting(true);
    }

    platform::ShortcutBinder &b = binder();
    using namespace platform::keys;
    b.registerDefaults({{kWordShortcutKey, {kMacKeyF1, 0}},
                        {kTranslateShortcutKey, {kMacKeyF2, 0}},
                        {kSearchShortcutKey, {kMacKeyF3, 0}}});
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
    const int type = convertPressTypeWithNum(m_deps.seams.keys->hadStart() ? upCode : downCode);
    setPressType(type);
    m_deps.seams.voice->hidCallbackType(type);
}

void HidInfoReader::hotKeyDirect(int downType, int upType)
{
    if (QXUserInfoData::sharedInstance().sno().isEmpty()) {
        qxInfo("hidinfo") << "hot key ignored: the receiver has no serial number yet";
        return;
    }
    const bool stop = m_deps.seams.keys->hadStart();
    if (m_deps.commands) {
        if (stop)
            m_deps.commands->sendCloseMicData();
        else
            m_deps.commands->sendOpenMicData();
    } else {
        qxLogOnce("hidinfo:commands", "no command manager: the receiver's microphone is not switched");
    }
    m_deps.seams.voice->hidCallbackType(stop ? upType : downType);
}

void HidInfoReader::wordShortcutPressed()
{
    if (!hotKeyDeviceReady(kWordShortcutKey))
        return;
    const qint64 plan = QXUserInfoData::sharedInstance().chipPlan();
    if (plan == 2 || plan == 6) {
        const bool translate = m_deps.seams.keys->isTranslate();
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
