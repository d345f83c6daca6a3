#include "HidKeyEventHandler.h"

#include "HRVLocalizedString.h"
#include "HookStates.h"
#include "PZLog.h"
#include "PressTypeConverter.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXMouseCommandManager.h"
#include "QXUserInfoData.h"
#include "Scheduler.h"
#include "TPRDelayInvocation.h"
#include "services/VoiceKeyState.h"

#include <QPointer>

using proto::HidReport;
using proto::HidReportFamily;
using proto::KeyOp;
using namespace presstype;

namespace {

// Down or up code of typing, or of translation when translating.
int byMode(bool translating, bool down)
{
    if (translating)
        return down ? kTranslateDown : kTranslateUp;
    return down ? kTypingDown : kTypingUp;
}

// Events of plans 6 and 7 besides the key maps.
enum Event {
    kVoiceStart = 0x62,
    kVoiceEnd = 0x63,
    kSnip = 0x80,
    kKeyboardSnip = 0x83,
    kAiImage = 0x84,
    kAiModeTip = 0xbc,
    kKeyboardModeTip = 0xbe,
    kAiModeTipPlan6 = 0xe3,
    kNormalModeTipPlan6 = 0xe4,
};

// Framed voice start and end.
constexpr int kFramedVoiceStart = 0x5a;
constexpr int kFramedVoiceEnd = 0x00;

} // namespace

void HidKeyEventHandler::listHooks(HookStates &out) const
{
    out.in(QStringLiteral("HidKeyEventHandler"))
        .addSeams("seams", m_seams)
        .add("voiceChip.tokenClient", m_chip.tokenClient());
}

HidKeyEventHandler::HidKeyEventHandler(QXHidReportParser &parser)
    : m_parser(parser), m_seams(parser.hidManager().seams()), m_chip(parser.hidManager())
{
}

void HidKeyEventHandler::showTip(const char *text, const char *image)
{
    m_seams.tips->showTipMessage(hrvAppLocalizedString(QString::fromUtf8(text)), QString::fromLatin1(image));
}

bool HidKeyEventHandler::handleKeyReply(const HidReport &report)
{
    switch (report.family) {
    case HidReportFamily::Framed:
        return handleFramed(report);
    case HidReportFamily::Plan6:
    case HidReportFamily::Plan7:
        handlePlan6Or7(report);
        return true;
    default:
        return true;
    }
}

bool HidKeyEventHandler::handleFramed(const HidReport &report)
{
    QXHidCommandManager &hid = m_parser.hidManager();
    // With voice from the computer's microphone the device only reports when its
    // voice key went down or up; the pending press type then goes to the dispatcher.
    const bool fromMic = m_parser.facade().isFromMicData();
    if (report.command == kFramedVoiceStart) {
        hid.invalidateTimer();
        if (fromMic) {
            m_seams.voice->hidCallbackType(int(hid.pressType()));
        } else {
            hid.setIsStartVoice(true);
            hid.voiceStream().startVoice();
        }
        return true;
    }
    if (report.command == kFramedVoiceEnd) {
        hid.startTimer();
        if (fromMic) {
            m_seams.voice->hidCallbackType(int(hid.pressType()));
        } else {
            hid.setIsStartVoice(false);
            hid.voiceStream().flushEncodeData(false);
        }
        return true;
    }
    const auto row = proto::framedKey(report.command);
    if (!row) {
        notInTable(report.family, report.command);
        return true;
    }
    return run(QXUserInfoData::sharedInstance().isSupportKeySetting() ? row->keySettingOn : row->keySettingOff);
}

void HidKeyEventHandler::handlePlan6Or7(const HidReport &report)
{
    const bool plan6 = report.family == HidReportFamily::Plan6;
    QXHidCommandManager &hid = m_parser.hidManager();
    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    switch (report.command) {
    case kVoiceStart:
        hid.setIsStartVoice(true);
        // Nothing of an earlier stream may be decoded into this one.
        hid.voiceStream().startVoice();
        return;
    case kVoiceEnd:
        hid.setIsStartVoice(false);
        hid.voiceStream().flushEncodeData(false);
        hid.invalidateCheckVoiceTimer();
        return;
    case kSnip:
        if (plan6 && report.timeReply)
            return;
        if (state.isConnect())
            m_seams.translate->snipTranslate();
        return;
    case kKeyboardSnip:
        if (state.isKeyboard() && state.isConnect())
            m_seams.translate->snipTranslate();
        return;
    case kAiImage:
        // On the time channel the same code asks for the current time.
        if (plan6 && report.timeReply) {
            if (report.status == 1)
                hid.sendCurrentTimeData();
            return;
        }
        break; // an AI key
    case kAiModeTip:
        showTip("AI模式", "aimode");
        return;
    case kKeyboardModeTip:
        showTip("普通键盘模式", "kbmode");
        return;
    case kAiModeTipPlan6:
        if (!plan6)
            break;
        showTip("AI模式", "aimode");
        m_parser.facade().setIsFromMicData(false);
        return;
    case kNormalModeTipPlan6:
        if (!plan6)
            break;
        showTip("普通模式", "kbmode");
        return;
    default:
        break;
    }

    if (const auto ai = proto::aiHelperKey(report.command)) {
        if (ai->keyboardOnly && !(state.isKeyboard() && state.isConnect()))
            return;
        IAIWindow &window = *m_seams.aiWindow;
        const QString id = QString::fromLatin1(ai->helperId);
        switch (ai->press) {
        case proto::AiPress::Single:
            window.requestChatGPT(id, QString());
            break;
        case proto::AiPress::LongStart:
            window.requestChatGPT(id, QString(), true);
            break;
        case proto::AiPress::LongEnd:
            window.requestChatGPT(id, QString(), false);
            break;
        }
        return;
    }

    const auto row = plan6 ? proto::plan6Key(report.command) : proto::plan7Key(report.command);
    if (!row) {
        notInTable(report.family, report.command);
        return;
    }
    run(state.isKeyboard() ? row->keyboard : row->mouse);
}

void HidKeyEventHandler::handlePlan4Key(const HidReport &report)
{
    const auto code = proto::plan4KeyCode(report.command);
    if (!code) {
        notInTable(report.family, report.command);
        return;
    }
    // The receiver wants its acknowledgement before the key takes effect.
    IVoiceKeyDispatcher *voice = m_seams.voice;
    Scheduler::instance().singleShot(
        kPlan4KeyDelayMs, [voice, code = *code] { voice->hidCallbackType(code); }, m_parser.hidManager().lifetime());
}

void HidKeyEventHandler::handlePlan3Key(const HidReport &report)
{
    QXHidCommandManager &hid = m_parser.hidManager();
    const uint8_t key = report.byteOr(8);
    if (key == 0 || hid.isPauseHandle())
        return;
    // The record repeats the key byte while a key is held; one event per second counts.
    hid.setIsPauseHandle(true);
    QXHidCommandManager *h = &hid;
    TPRDelayInvocationTrailing(
        GroupKey::unique(),
        [h, alive = QPointer<QObject>(h->lifetime())] {
            if (alive)
                h->setIsPauseHandle(false);
        },
        kPlan3KeyGateSeconds);

    const auto row = proto::plan3Key(key);
    if (!row) {
        notInTable(report.family, key);
        return;
    }
    const bool model55 =
        QXUserInfoData::sharedInstance().mouseInfoItem().mouseType() == proto::kPlan3ModelWithoutTranslation;
    if (model55 && row->skipModel55)
        return;
    run(row->step, row->translates && !model55);
}

void HidKeyEventHandler::handleVoiceOutsideSession(const HidReport &report)
{
    VoiceKeyState &keys = *m_seams.keys;
    QXHidCommandManager &hid = m_parser.hidManager();
    if (report.family == HidReportFamily::Plan6) {
        // The device streams while nothing listens: the dispatcher's session is over.
        qxInfo("hid") << QStringLiteral("self.isStartVoice=%1").arg(hid.isStartVoice() ? 1 : 0);
        keys.setHadStart(false);
        hid.sendCloseMicData();
    } else if (report.family == HidReportFamily::Plan4) {
        if (keys.hadStart())
            hid.sendCloseMicData();
    }
}

bool HidKeyEventHandler::run(proto::KeyStep step, bool translates)
{
    IVoiceKeyDispatcher &voice = *m_seams.voice;
    VoiceKeyState &keys = *m_seams.keys;
    QXHidCommandManager &hid = m_parser.hidManager();
    QXUserInfoData &state = QXUserInfoData::sharedInstance();
    const bool translating = translates && keys.isTranslate();
    const int code = step.code;

    const auto open = [&](int pending) {
        hid.sendOpenMicData();
        hid.setPressType(pending);
        return pending;
    };
    const auto close = [&](int pending) {
        hid.sendCloseMicData();
        hid.setPressType(pending);
        return pending;
    };
    const auto toggle = [&] {
        return keys.hadStart() ? close(byMode(translating, false)) : open(byMode(translating, true));
    };

    switch (step.op) {
    case KeyOp::None:
        break;
    case KeyOp::Press:
        voice.hidCallbackType(code);
        break;
    case KeyOp::PressPending:
        hid.setPressType(code);
        voice.hidCallbackType(code);
        break;
    case KeyOp::OpenPending:
        open(code);
        break;
    case KeyOp::ClosePending:
        close(code);
        break;
    case KeyOp::OpenPendingMode:
        open(byMode(translating, true));
        break;
    case KeyOp::ClosePendingMode:
        close(byMode(translating, false));
        break;
    case KeyOp::TogglePending:
        toggle();
        break;
    case KeyOp::OpenPress:
        voice.hidCallbackType(open(code));
        break;
    case KeyOp::ClosePress:
        voice.hidCallbackType(close(code));
        break;
    case KeyOp::OpenPressMode:
        voice.hidCallbackType(open(byMode(translating, true)));
        break;
    case KeyOp::ClosePressMode:
        voice.hidCallbackType(close(byMode(translating, false)));
        break;
    case KeyOp::TogglePressMode:
        voice.hidCallbackType(toggle());
        break;
    case KeyOp::ModeToggle:
        return PressTypeConverter::toggleTranslateMode(m_seams, keys.pressType());
    case KeyOp::PointerVoiceKey: {
        const bool running = keys.hadStart();
        const int type = PressTypeConverter::pointerVoicePressType(keys.vioceMode(), !running);
        voice.hidCallbackType(running ? close(type) : open(type));
        break;
    }
    case KeyOp::PointerVoiceMode:
        PressTypeConverter::nextPointerVoiceMode(m_seams);
        break;
    case KeyOp::KeyboardToggle:
        state.setKeyAction(0);
        keyboardToggle(code);
        break;
    case KeyOp::KeyboardAiToggle:
        state.setKeyAction(kKeyActionAiWindow);
        m_seams.aiWindow->showInWindow();
        keyboardToggle(code);
        break;
    case KeyOp::KeyboardKeyUp:
        state.setKeyAction(0);
        keys.setLastPressType(0);
        m_parser.facade().sendCloseMicData();
        voice.hidCallbackType(code);
        break;
    case KeyOp::KeyActionReset:
        state.setKeyAction(0);
        break;
    case KeyOp::ShowAiWindow:
        state.setKeyAction(kKeyActionAiWindow);
        m_seams.aiWindow->showInWindow();
        break;
    }
    return true;
}

void HidKeyEventHandler::keyboardToggle(int down)
{
    VoiceKeyState &keys = *m_seams.keys;
    IVoiceKeyDispatcher &voice = *m_seams.voice;
    // Another voice key's input is open: this key waits until that one ends.
    const int last = keys.lastPressType();
    if (last != 0 && last != down)
        return;
    keys.setLastPressType(down);
    if (keys.hadStart()) {
        keys.setLastPressType(0);
        m_parser.facade().sendCloseMicData();
        voice.hidCallbackType(down + 1);
    } else {
        m_parser.facade().sendOpenMicData();
        voice.hidCallbackType(down);
    }
}

void HidKeyEventHandler::notInTable(HidReportFamily family, int key)
{
    qxLogOnce(QStringLiteral("hid-key-unknown:%1:%2").arg(int(family)).arg(key),
              QStringLiteral("key event 0x%1 has no meaning for this device family; ignored")
                  .arg(key, 2, 16, QLatin1Char('0')));
}
