#include "BleNotificationParser.h"

#include "BleFirmwareTransfer.h"
#include "HRVLocalizedString.h"
#include "HookStates.h"
#include "ImaAdpcm.h"
#include "InstalledInstance.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXBLEManager.h"
#include "QXBLEMouseCommandManager.h"
#include "QXLanguageManager.h"
#include "QXUserInfoData.h"
#include "TPRDelayInvocation.h"
#include "services/VoiceKeyState.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>

#include <algorithm>
#include <vector>

using proto::BleKeyAction;
using proto::BleNotification;
using proto::BleValueKind;
namespace notify = qx::notify;

namespace {

constexpr int kMaxFormatSize = 1 << 20;
constexpr int kPointerDeviceType = 5;
constexpr int kLaserPenDeviceType = 2;
constexpr int kLaserPenMouseType = 202;

int languageFormatSize()
{
    QXLanguageManager &languages = QXLanguageManager::sharedInstance();
    const QJsonArray list = languages.audioLanguageArr();
    const quint64 index = languages.audioLanguageIndex();
    if (index >= quint64(list.size()))
        return 0;
    return list.at(qsizetype(index)).toObject().value(QStringLiteral("formatSize")).toObject().value("pcm").toInt();
}

// Mice whose lighting and hand settings are read back once they introduce themselves.
bool hasLighting(int mouseType)
{
    return mouseType == 56 || mouseType == 72;
}

} // namespace

void BleNotificationParser::listHooks(HookStates &out) const
{
    out.in(QStringLiteral("BleNotificationParser")).add("central", m_central).add("formatSize", m_formatSize);
}

BleNotificationParser::BleNotificationParser(QXBLEMouseCommandManager &manager, QXBLEManager *central)
    : m_manager(manager), m_central(central)
{
}

VoiceKeyState &BleNotificationParser::keys() const
{
    return *m_manager.seams().keys;
}

IVoiceKeyDispatcher &BleNotificationParser::dispatcher() const
{
    return *m_manager.seams().voice;
}

ILaserPen &BleNotificationParser::laserPen() const
{
    return *m_manager.seams().laserPen;
}

void BleNotificationParser::showTip(const char *text, const char *image) const
{
    m_manager.seams().tips->showTipMessage(hrvAppLocalizedString(QString::fromUtf8(text)), QString::fromLatin1(image));
}

BleNotificationParser &BleNotificationParser::sharedInstance()
{
    return InstalledInstance<BleNotificationParser>::get("BleNotificationParser");
}

BleNotificationParser *BleNotificationParser::setSharedInstance(BleNotificationParser *instance)
{
    return InstalledInstance<BleNotificationParser>::install(instance);
}

QXBLEManager &BleNotificationParser::central() const
{
    return m_central ? *m_central : QXBLEManager::sharedInstance();
}

bool BleNotificationParser::transferActive() const
{
    return m_manager.firmwareTransfer().isOTATransferActive();
}

void BleNotificationParser::eventTypeConvertDataToHexStr(QByteArrayView value)
{
    const bool pointerLayout = QXUserInfoData::sharedInstance().mouseInfoItem().deviceType() == kPointerDeviceType;
    const BleNotification n = proto::classifyBleNotification(value, pointerLayout);
    switch (n.kind) {
    case BleValueKind::Voice:
        voicePacket(value);
        return;
    case BleValueKind::ShortFrame:
        // The mouse sends no frame this short; while it streams this is voice that
        // happens to start with 4d and end with 4c.
        if (m_manager.isStartVoice())
            voicePacket(value);
        else
            qxDebug("ble") << "frame too short, dropped:" << value.toByteArray().toHex(' ');
        return;
    case BleValueKind::Frame:
        break;
    }
    // Voice has no marker of its own: a packet bracketed like a frame is read as one.
    // Firmware replies cannot be genuine outside a transfer, and taking one for real
    // would drop the link in the middle of a dictation, so during a stream they are the
    // voice they most likely are.
    if (proto::isBleFirmwareEvent(n.event) && m_manager.isStartVoice() && !transferActive()) {
        voicePacket(value);
        return;
    }
    if (n.event == 0x10) // the mouse's acknowledgement of our commands
        return;
    m_manager.sendGetReceiveData();
    if (const proto::BleKeyRow *row = proto::bleKeyRow(n.event))
        handleKey(*row);
    else
        handleEvent(n, pointerLayout);
}

// ---- keys ------------------------------------------------------------------------

void BleNotificationParser::handleKey(const proto::BleKeyRow &row)
{
    if (QXUserInfoData::sharedInstance().isSupportKeySetting()) {
        dispatcher().hidCallbackType(row.keySettingCode);
        return;
    }
    VoiceKeyState &keys = this->keys();
    const bool translating = keys.isTranslate();
    const auto open = [&](qint64 pressType) {
        m_manager.sendOpenMicData();
        m_manager.setPressType(pressType);
    };
    const auto close = [&](qint64 pressType) {
        m_manager.sendCloseMicData();
        m_manager.setPressType(pressType);
    };
    switch (row.action) {
    case BleKeyAction::None:
        return;
    case BleKeyAction::OpenMicSearch:
        return open(presstype::kSearchDown);
    case BleKeyAction::CloseMicSearch:
        return close(presstype::kSearchUp);
    case BleKeyAction::Toggle:
        if (keys.hadStart())
            return close(translating ? presstype::kTranslateUp : presstype::kTypingUp);
        return open(translating ? presstype::kTranslateDown : presstype::kTypingDown);
    case BleKeyAction::VoiceDown:
        return open(translating ? presstype::kTranslateDown : presstype::kTypingDown);
    case BleKeyAction::VoiceUp:
        return close(translating ? presstype::kTranslateUp : presstype::kTypingUp);
    case BleKeyAction::ModeSwitch:
        // Not while the voice key is held down.
        if (keys.pressType() == presstype::kTypingDown || keys.pressType() == presstype::kTranslateDown)
            return;
        keys.setIsTranslate(!translating);
        if (keys.isTranslate())
            showTip("切换到翻译模式", "laserPen_icon-7");
        else
            showTip("切换到打字模式", "laserPen_icon-6");
        return;
    }
}

// ---- other events ----------------------------------------------------------------

void BleNotificationParser::handleEvent(const BleNotification &n, bool pointerLayout)
{
    QXBLEMouseCommandManager &m = m_manager;
    switch (n.event) {
    case 0x00:
        return voiceEnd();
    case 0x5a:
        return voiceStart();
    case 0x61:
        return handleDeviceInfo(n, pointerLayout);
    case 0x21:
    case 0x64: // LED, DPI or logo changed on the mouse: read the state back
    case 0x65:
    case 0x68:
    case 0x81:
    case 0x82:
        return m.sendGetMouseInfoData();
    case 0x70:
    case 0x71:
    case 0x72:
    case 0x73:
    case 0x74:
        return handleFirmwareReply(n);
    case 0x83:
        if (n.value)
            m.sendGetLightingEffectsColorData();
        return storeValue(n, &QXMouseInfoItem::setLightingEffectsMode, notify::kUpdateLightingEffectsNotification);
    case 0x84:
        m.sendGetLightingEffectsModeData();
        return m.sendGetLightingEffectsColorData();
    case 0x85:
        return storeValue(n, &QXMouseInfoItem::setLightingEffectsBrightness,
                          notify::kUpdateLightingEffectsNotification);
    case 0x86:
        return m.sendGetLightingEffectsBrightnessData();
    case 0x87:
        return storeValue(n, &QXMouseInfoItem::setLightingEffectsSpeed, notify::kUpdateLightingEffectsNotification);
    case 0x88:
        return m.sendGetLightingEffectsSpeedData();
    case 0x89:
        return storeValue(n, &QXMouseInfoItem::setLightingEffectsColor, notify::kUpdateLightingEffectsNotification);
    case 0x8a:
        return m.sendGetLightingEffectsColorData();
    case 0x8b:
        return storeValue(n, &QXMouseInfoItem::setMouseLeftOrRightHandBehavior,
                          notify::kUpdateMouseLeftOrRightHandBehaviorNotification);
    case 0x8c:
        return m.sendGetMouseLeftOrRightHandBehavior();
    case 0x90:
        return laserPen().changeLaserPenStatus(false);
    case 0x92:
        if (laserPen().hasShowEffecf())
            return laserPen().dismissEffect();
        return laserPen().showLaserPenEffect();
    case 0x93:
        if (laserPen().hasShowEffecf())
            laserPen().dismissEffect();
        return;
    case 0x9a:
        return laserPenVoiceKey();
    case 0x9b:
        return laserPenVoiceModeKey();
    case 0x9c:
        // The search key: its key-down is 35 like its press type (and its key-up 36).
        m.sendOpenMicData();
        m.setPressType(presstype::kSearchDown);
        return dispatcher().hidCallbackType(presstype::kSearchDown);
    case 0x9d:
        m.sendCloseMicData();
        m.setPressType(presstype::kSearchUp);
        return dispatcher().hidCallbackType(presstype::kSearchUp);
    default:
        return; // acknowledged only
    }
}

void BleNotificationParser::storeValue(const BleNotification &n, void (QXMouseInfoItem::*set)(qint64),
                                       const char *notification)
{
    if (!n.value) {
        qxDebug("ble") << "reply" << Qt::hex << int(n.event) << "without its value, ignored";
        return;
    }
    (QXUserInfoData::sharedInstance().mouseInfoItem().*set)(*n.value);
    postNotification(QString::fromLatin1(notification));
}

// The transfer paces itself and posts its one result; what is left here is the link:
// a mouse that accepted its image restarts with it, so let it go and find it again.
void BleNotificationParser::handleFirmwareReply(const BleNotification &n)
{
    if (m_manager.firmwareTransfer().handleFirmwareReply(n.event, n.status)
        != BleFirmwareTransfer::ReplyEffect::Succeeded)
        return;
    central().cancelPeripheralConnection();
    QPointer<QXBLEManager> c(&central());
    TPRDelayInvocationLeading(
        GroupKey::shared(QStringLiteral("ble.ota.rescan")),
        [c] {
            if (c)
                c->startScan();
        },
        1.0);
}

// ---- device information ------------------------------------------------------------

void BleNotificationParser::handleDeviceInfo(const BleNotification &n, bool pointerLayout)
{
    const std::optional<proto::BleDeviceInfo> info = proto::readBleDeviceInfo(n.payload, pointerLayout);
    if (!info) {
        qxWarning("ble") << "device information of" << n.payload.size() << "bytes is too short, ignored";
        return;
    }
    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    QXMouseInfoItem &item = state.mouseInfoItem();
    item.setSn(info->sn);
    item.setPid(info->pid);
    item.setVid(info->vid);
    if (info->led)
        item.setLed(*info->led);
    if (info->mic)
        item.setMic(*info->mic);
    item.setIcType(quint64(info->icType));
    state.setMouseDpiArrayWithType(info->icType);
    item.setDpi(info->dpi);
    item.setMouseType(quint64(info->mouseType));
    item.setPowerPercent(info->powerPercent);
    if (info->firmwareVersion)
        item.setFirmwareVersion(*info->firmwareVersion);

    if (!pointerLayout) {
        if (const std::optional<int> source = proto::bleMouseSource(info->vid, info->pid))
            item.setMouseSource(quint64(*source));
        if (hasLighting(info->mouseType)) {
            m_manager.sendGetLightingEffectsModeData();
            m_manager.sendGetLightingEffectsBrightnessData();
            m_manager.sendGetLightingEffectsSpeedData();
            m_manager.sendGetLightingEffectsColorData();
            m_manager.sendGetMouseLeftOrRightHandBehavior();
        }
        if (info->mouseType == kLaserPenMouseType)
            item.setDeviceType(kLaserPenDeviceType);
    }
    state.setProductCode(QString::number(info->mouseType));
    // The mouse reports its microphone on after a voice input; close it, but not in the
    // middle of one (the battery poll asks for this information every few minutes).
    if (!pointerLayout && info->mic.value_or(0) != 0 && !keys().hadStart())
        m_manager.sendCloseMicData();
    postNotification(QString::fromLatin1(notify::HadUSBInfoNotification));
    postNotification(QString::fromLatin1(notify::HadElectricInfoNotification));
    m_manager.sendClosePopUpWebSiteData();
}

// ---- pointer keys ------------------------------------------------------------------

void BleNotificationParser::laserPenVoiceKey()
{
    int start = 0, stop = 0;
    switch (keys().vioceMode()) {
    case 1:
        start = presstype::kTypingDown;
        stop = presstype::kTypingUp;
        break;
    case 2:
    case 3:
        start = presstype::kTranslateDown;
        stop = presstype::kTranslateUp;
        break;
    default:
        break;
    }
    int code = start;
    if (keys().hadStart()) {
        m_manager.sendCloseMicData();
        code = stop;
    } else {
        m_manager.sendOpenMicData();
    }
    m_manager.setPressType(code);
    dispatcher().hidCallbackType(code);
}

void BleNotificationParser::laserPenVoiceModeKey()
{
    dispatcher().cancelAsr();
    int mode = keys().vioceMode() + 1;
    if (mode >= 4 || mode <= 0)
        mode = 1;
    keys().setVioceMode(mode);
    switch (mode) {
    case 1:
        return showTip("切换到打字模式", "laserPen_icon-6");
    case 2:
        return showTip("切换到翻译模式", "laserPen_icon-7");
    default:
        return showTip("切换到投屏模式", "laserPen_icon-2");
    }
}

// ---- voice -------------------------------------------------------------------------

// The decoder state carries over from stream to stream, as on HID: the mouse's encoder
// is not known to restart.
void BleNotificationParser::voiceStart()
{
    m_manager.setIsStartVoice(true);
    dispatcher().hidCallbackType(int(m_manager.pressType()));
    m_manager.audioData().clear();
    m_manager.encodeData().clear();
}

void BleNotificationParser::voiceEnd()
{
    // The last partial unit belongs in the recording too.
    if (!m_manager.audioData().isEmpty())
        decodeVoice(m_manager.audioData().size());
    m_manager.setIsStartVoice(false);
    if (const VoiceDataBlock &block = m_manager.voiceDataBlock())
        block(false, m_manager.encodeData());
    m_manager.encodeData().clear();
    dispatcher().hidCallbackType(int(m_manager.pressType()));
}

// Packets come in any size. The speech service gets the raw ADPCM as it arrives; the
// recording gets it decoded in whole units, and what is left of a packet waits for the
// next one, so no byte is skipped and the decoder never loses its place.
void BleNotificationParser::voicePacket(QByteArrayView bytes)
{
    if (!m_manager.isStartVoice() || bytes.isEmpty())
        return;
    m_manager.audioData().append(bytes);
    m_manager.encodeData().append(bytes);
    const qsizetype whole = m_manager.audioData().size() / kVoiceUnitBytes * kVoiceUnitBytes;
    if (whole > 0)
        decodeVoice(whole);
    handOverIfFull();
}

void BleNotificationParser::decodeVoice(qsizetype bytes)
{
    QByteArray &audio = m_manager.audioData();
    bytes = std::min(bytes, audio.size());
    std::vector<int16_t> samples(size_t(2 * bytes));
    const auto *in = reinterpret_cast<const uint8_t *>(audio.constData());
    const size_t n = proto::adpcmDecodeLowFirst(std::span(in, size_t(bytes)), samples, m_manager.msg());
    audio.remove(0, bytes);
    QByteArray pcm;
    proto::appendPcm(pcm, std::span<const int16_t>(samples).first(n));
    if (QIODevice *file = m_manager.seams().speech->fileHandle())
        file->write(pcm); // a failed write loses only the recording
}

void BleNotificationParser::handOverIfFull()
{
    QByteArray &encoded = m_manager.encodeData();
    if (encoded.size() < formatSize())
        return;
    if (const VoiceDataBlock &block = m_manager.voiceDataBlock())
        block(m_manager.isStartVoice(), encoded);
    encoded.clear();
}

int BleNotificationParser::formatSize() const
{
    const int size = m_formatSize ? m_formatSize() : languageFormatSize();
    return size > 0 ? std::min(size, kMaxFormatSize) : kDefaultFormatSize;
}
