#include "QXKeyPressManager.h"

#include "FamilyTraits.h"
#include "HRVLocalizedString.h"
#include "PZEventMonitor.h"
#include "PZLog.h"
#include "QXMouseCommandManager.h"
#include "QXUserInfoData.h"
#include "delivery/TextInsertionService.h"
#include "platform/IClipboard.h"
#include "platform/IPowerManager.h"
#include "platform/ISelectionCopier.h"
#include "services/IPopupTips.h"
#include "services/IVoiceKeyDispatcher.h"

using namespace keyaction;
using platform::MouseEventType;

namespace {

QXKeyPressManager::Deps withScheduler(QXKeyPressManager::Deps deps)
{
    if (!deps.scheduler)
        deps.scheduler = &Scheduler::instance();
    Q_ASSERT(deps.state && deps.device && deps.clipboard && deps.text && deps.selectionCopier && deps.workspace
             && deps.mouseMonitor && deps.power && deps.voice && deps.aiWindow && deps.translate && deps.tips);
    return deps;
}

QXToolManagerUI::Deps toolDeps(const QXKeyPressManager::Deps &deps)
{
    QXToolManagerUI::Deps tools;
    tools.workspace = deps.workspace;
    tools.targets = deps.targets;
    return tools;
}

QString textOf(const std::optional<KeySettingSubModel> &option)
{
    return option ? option->attr0().value_or(QString()) : QString();
}

} // namespace

QXKeyPressManager::QXKeyPressManager(Deps deps)
    : d(withScheduler(std::move(deps))), m_tools(toolDeps(d)),
      m_classifier(*d.scheduler, [this](int kind) { handlePressKeyEvent(kind, kCentreKey); })
{
    d.state->setIsSupportKeySetting(true);
}

QXKeyPressManager::~QXKeyPressManager()
{
    stopCenterMouseMonitor();
    invalidateDelTimer();
}

void QXKeyPressManager::startCenterMouseMonitor()
{
    const quint64 mask =
        platform::maskOf(MouseEventType::OtherMouseDown) | platform::maskOf(MouseEventType::OtherMouseUp);
    // Any button past left and right counts; the wheel never reaches this mask.
    m_centerMouseMonitor = PZEventMonitor::monitorWithType(
        PZEventMonitor::Both, mask,
        [this](const platform::MouseEvent &event) {
            if (event.type == MouseEventType::OtherMouseDown)
                m_classifier.buttonDown();
            else
                m_classifier.buttonUp();
        },
        d.mouseMonitor);
    m_centerMouseMonitor->start();
}

void QXKeyPressManager::stopCenterMouseMonitor()
{
    m_centerMouseMonitor.reset();
}

void QXKeyPressManager::handlePressKeyEvent(int pressKind, int keyType)
{
    QXUserInfoData &state = *d.state;
    if (state.productCode().toInt() == 260 && !state.funcSwitch())
        return;
    if (m_delTimer != Scheduler::kNoTimer && !(pressKind == kLongStart && keyType == m_delTimerKeyType))
        invalidateDelTimer();

    const Lookup found = lookupOperation(state.mouseSettingArr(), quint64(keyType), pressKind);
    state.setKeyAction(found.operationType);
    const Operation *op = operationFor(found.operationType);
    if (!op) {
        qxInfo("keys") << "operation" << found.operationType << "is not known; nothing done";
        return;
    }
    if (pressKind == kLongEnd && !op->onLongEnd)
        return;
    perform(*op, found.option, pressKind, keyType);
}

void QXKeyPressManager::perform(const Operation &op, const std::optional<KeySettingSubModel> &option, int pressKind,
                                int keyType)
{
    const QString text = textOf(option);
    switch (op.action) {
    case Action::Nothing:
        return;
    case Action::CentreVoice:
        return centreVoice(pressKind, keyType);
    case Action::VoiceToggle:
        return voiceToggle(op.voiceStart, pressKind);
    case Action::VoiceByMode:
        return voiceToggle(keys().isTranslate() ? presstype::kTranslateDown : presstype::kTypingDown, pressKind);
    case Action::SwitchMode:
        return switchMode();
    case Action::Shortcut:
    case Action::OpenUrl:
    case Action::OpenFile:
        if (text.isEmpty()) {
            qxInfo("keys") << "operation" << op.type << "has no target; nothing done";
            return;
        }
        if (op.action == Action::Shortcut)
            d.text->handleShortcut(text);
        else if (op.action == Action::OpenUrl)
            m_tools.openBrowserWithCmdString(text);
        else
            m_tools.openFileWithPath(text);
        return;
    case Action::SnipTranslate:
        if (d.state->isConnect())
            d.translate->snipTranslate();
        return;
    case Action::InsertText:
        return insertText(text);
    case Action::LeaveFullScreen:
        // The key follows in either case: F11 is the key the device itself offers here.
        if (d.aiWindow->isWebWindowFullScreen())
            d.aiWindow->leaveWebWindowFullScreen();
        d.scheduler->singleShot(
            kFullScreenKeyDelayMs,
            [this] { d.device->sendKeyCommandDataKeyCode1(kFullScreenKeyModifier, kFullScreenKeyUsage); }, &m_pending);
        return;
    case Action::Delete:
        if (pressKind == kLongStart)
            startDelTimer(keyType);
        else
            sendChord(deleteChord());
        return;
    case Action::Enter:
        d.voice->hidCallbackType(presstype::kKeyCommand);
        return;
    case Action::Chord:
        return sendChord(op.chord);
    case Action::NextDpi:
        return nextDpi();
    case Action::AIWindowVoice:
        d.aiWindow->showInWindow();
        return voiceToggle(op.voiceStart, pressKind);
    case Action::Copy:
        d.selectionCopier->copySelectionToClipboard();
        return;
    case Action::Sleep:
        d.power->requestSleep();
        return;
    case Action::CopyAndTranslate:
        return copyAndTranslate();
    case Action::ShowAIWindow:
        d.aiWindow->showInWindow();
        return;
    }
}

void QXKeyPressManager::centreVoice(int pressKind, int keyType)
{
    const QXUserInfoData &state = *d.state;
    if (!state.isConnect() || (pressKind != kLongStart && pressKind != kLongEnd) || keyType != kCentreKey)
        return;
    if (state.mouseInfoItem().deviceType() != 3 || proto::familyTraits(state.chipPlan()).keys != proto::KeyMap::Framed
        || state.sno().isEmpty())
        return;
    const bool running = keys().hadStart();
    if (pressKind == kLongEnd && !running)
        return;
    const bool translating = keys().isTranslate();
    if (running) {
        d.device->sendCloseMicData();
        d.voice->hidCallbackType(translating ? presstype::kTranslateUp : presstype::kTypingUp);
    } else {
        d.device->sendOpenMicData();
        d.voice->hidCallbackType(translating ? presstype::kTranslateDown : presstype::kTypingDown);
    }
}

void QXKeyPressManager::voiceToggle(int start, int pressKind)
{
    // Another mode is running; only its own key stops it.
    if (keys().lastPressType() != 0 && keys().lastPressType() != start)
        return;
    keys().setLastPressType(start);
    if (pressKind != kLongEnd && !keys().hadStart()) {
        d.device->sendOpenMicData();
        d.voice->hidCallbackType(start);
    } else {
        keys().setLastPressType(0);
        d.device->sendCloseMicData();
        d.voice->hidCallbackType(start + 1);
    }
}

void QXKeyPressManager::sendChord(const Chord &chord)
{
    d.text->sendChord(chord);
}

void QXKeyPressManager::insertText(const QString &text)
{
    // Typed by the device in compatible mode; the clipboard keeps the text.
    d.text->pasteText(text, {.chord = ITextInsertion::Chord::FollowCompatibleMode, .restoreClipboard = false});
}

void QXKeyPressManager::switchMode()
{
    keys().setLastPressType(0);
    keys().setIsTranslate(!keys().isTranslate());
    if (keys().isTranslate())
        d.tips->showTipMessage(hrvAppLocalizedString(QStringLiteral("切换到翻译模式")),
                               QStringLiteral("laserPen_icon-7"));
    else
        d.tips->showTipMessage(hrvAppLocalizedString(QStringLiteral("切换到打字模式")),
                               QStringLiteral("laserPen_icon-6"));
}

void QXKeyPressManager::nextDpi()
{
    // A device without DPI steps has no step 0 to go to either.
    if (const auto index = nextDpiIndex(d.state->mouseInfoItem().dpi(), d.state->getMouseDpiArray().size()))
        d.device->sendSetDpiData(*index);
}

void QXKeyPressManager::copyAndTranslate()
{
    d.clipboard->clear();
    d.selectionCopier->copySelectionToClipboard();
    d.scheduler->singleShot(
        kCopyTranslateDelayMs,
        [this] {
            const QString text = d.clipboard->text();
            d.state->setPasteboardContent(text.isEmpty() ? std::nullopt : std::optional<QString>(text));
            d.translate->hyperTranslate();
        },
        &m_pending);
}

void QXKeyPressManager::startDelTimer(int keyType)
{
    invalidateDelTimer();
    m_delTimerKeyType = keyType;
    m_delTimer = d.scheduler->repeating(
        kDeleteRepeatMs, [this] { sendChord(deleteChord()); }, &m_pending);
}

void QXKeyPressManager::invalidateDelTimer()
{
    cancelTimer(*d.scheduler, m_delTimer);
}
