#include "QXAudioMonitorService.h"

#include "HRVLocalizedString.h"
#include "InstalledInstance.h"
#include "MainThread.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXMouseCommandManager.h"
#include "QXUserInfoData.h"
#include "delivery/QXResultDelivery.h"
#include "popup/ISpeechPopup.h"
#include "services/IKeyPressManager.h"
#include "services/VoiceKeyState.h"
#include "translation/ISpeechTranslator.h"

#include <QPointer>

#include <utility>

namespace {

using namespace presstype;

constexpr quint64 kAiWindowKeyAction = 18;
constexpr int kProductWithFunctionSwitch = 260;

// The programmable keys: four codes each (single, double, long start, long end).
struct KeyRun {
    int first;
    int keyType;
};
constexpr KeyRun kKeyRuns[] = {{51, 3}, {55, 4}, {59, 5}, {63, 6}, {67, 7}, {176, 8}, {180, 9}, {184, 10}, {224, 11}};

int keyTypeForCode(int code)
{
    for (const KeyRun &run : kKeyRuns)
        if (code >= run.first && code < run.first + 4)
            return run.keyType;
    return 0;
}

bool isHeld(int pressType)
{
    return pressType == kTypingDown || pressType == kSearchDown || pressType == kTranslateDown;
}

bool isReleased(int pressType)
{
    return pressType == kTypingUp || pressType == kSearchUp || pressType == kTranslateUp;
}

QString localized(const char *source)
{
    return hrvAppLocalizedString(QString::fromUtf8(source));
}

} // namespace

QXAudioMonitorService::QXAudioMonitorService(Deps deps) : d(std::move(deps)) {}

QXAudioMonitorService::~QXAudioMonitorService()
{
    d.speech.removeStatusListener(this);
    Scheduler &s = Scheduler::instance();
    cancelTimer(s, m_tipTimer);
    cancelTimer(s, m_timeOutTimer);
    cancelTimer(s, m_refusalTimer);
    InstalledInstance<QXAudioMonitorService>::uninstall(this);
}

QXAudioMonitorService &QXAudioMonitorService::sharedInstance()
{
    return InstalledInstance<QXAudioMonitorService>::get("QXAudioMonitorService");
}

qint64 QXAudioMonitorService::now() const
{
    // Monotonic: a clock change must neither lock out nor let through a start.
    return Scheduler::instance().clock().monotonicMs();
}

void QXAudioMonitorService::post(const char *name)
{
    (d.notifications ? *d.notifications : NotificationCenter::defaultCenter()).post(QString::fromLatin1(name));
}

void QXAudioMonitorService::setPressType(int type)
{
    // The device's pending press type goes with it, so a voice end after a cancel
    // reports no key.
    d.keys.setPressType(type);
    d.keys.setDevicePressType(type);
}

// --- key events ----------------------------------------------------------------------

void QXAudioMonitorService::hidCallbackType(int type)
{
    if (!isMainThread()) {
        QMetaObject::invokeMethod(
            &m_context, [this, type] { hidCallbackType(type); }, Qt::QueuedConnection);
        return;
    }
    if (!d.state.isConnect())
        return;
    if (d.state.productCode().toInt() == kProductWithFunctionSwitch && !d.state.funcSwitch())
        return;
    switch (type) {
    case kModeTipTyping:
        d.keys.setPressType(kTypingDown);
        d.popup.showTipMessage(localized("切换到打字模式"), QStringLiteral("laserPen_icon-6"));
        return;
    case kModeTipTranslate:
        d.keys.setPressType(kTranslateDown);
        d.popup.showTipMessage(localized("切换到翻译模式"), QStringLiteral("laserPen_icon-7"));
        return;
    case kTypingDown:
    case kSearchDown:
    case kTranslateDown:
        return keyDown(type);
    case kTypingUp:
    case kSearchUp:
    case kTranslateUp:
        return keyUp(type);
    case kKeyCommand:
        return sendChord(keyaction::enterChord(), d.state.compatibleModeSwitch(), d.device, d.keyPoster);
    default:
        break;
    }
    if (const int keyType = keyTypeForCode(type)) {
        m_currentHidButton = type;
        d.keyPress.handlePressKeyEvent(programmablePressKind(type) + 1, keyType);
    }
}

void QXAudioMonitorService::keyDown(int code)
{
    const qint64 t = now();
    // A refused start leaves the recognition before it alone: it may still be waiting
    // for its last result, which must not be lost to a press that did nothing.
    if (!d.keys.hadStart() && startRefused(t)) {
        refuse(code, t);
        return;
    }
    // A start while the previous recognition still waits: it ends with what it has.
    if (!d.keys.hadStart() && releasedAndWaiting())
        manualEndAsr();
    m_refusedPress = false;
    d.keys.setPressType(code);
    m_searchString.clear();
    d.popup.setIsLast(false);
    invalidateTimeOutTimer();
    beginAsr();
    if (code == kSearchDown)
        m_longPressTime = t;
}

void QXAudioMonitorService::keyUp(int code)
{
    if (std::exchange(m_refusedPress, false)) {
        if (!releasedAndWaiting())
            d.popup.dismissSpeechView();
        return;
    }
    // Released already: the pop-up goes. A recognition still waiting keeps its last
    // result (a device's voice end repeats the key-up, which must not throw it away).
    if (isReleased(d.keys.pressType())) {
        m_keepsLastResult = releasedAndWaiting();
        d.popup.dismissSpeechView();
        return;
    }
    d.keys.setPressType(code);
    if (code == kSearchUp && m_longPressTime && now() - *m_longPressTime < kSearchCancelMs)
        cancelAsr();
    else
        endAsr();
}

bool QXAudioMonitorService::startRefused(qint64 t) const
{
    return m_startTime && t - *m_startTime < kStartGuardMs;
}

// Released, and its end time-out not yet run: the last result may still come.
bool QXAudioMonitorService::releasedAndWaiting() const
{
    return isReleased(d.keys.pressType()) && m_timeOutTimer != Scheduler::kNoTimer && !d.popup.isLast();
}

void QXAudioMonitorService::refuse(int code, qint64 t)
{
    // Each attempt restarts the guard, so a burst stays refused until it pauses.
    m_startTime = t;
    m_refusedPress = true;
    // Like any voice-key press, this one cancels the previous recognition's end
    // time-out. One still waiting for its last result gets a fresh one from here, so
    // that it ends even when that result never comes.
    const bool waiting = releasedAndWaiting();
    invalidateTimeOutTimer();
    if (waiting)
        startTimeOutTimer();
    d.popup.showSpeechView(localized("点击太快了"), code);
    Scheduler &s = Scheduler::instance();
    cancelTimer(s, m_refusalTimer);
    m_refusalTimer = s.singleShot(
        kRefusalShownMs,
        [this] {
            m_refusalTimer = Scheduler::kNoTimer;
            // A recognition still waiting for its last result gets its pop-up back.
            if (releasedAndWaiting())
                d.popup.showSpeechView(m_resultText.isEmpty() ? localized("请说话...") : m_resultText,
                                       d.keys.pressType());
            else
                d.popup.dismissSpeechView();
        },
        &m_context);
    d.keys.setIsResetKey(true);
    d.device.sendResetKeyStatusData();
    // The facade's answer covers a Bluetooth LE mouse's stream as well as a receiver's.
    if (d.device.isStartVoice())
        d.device.sendCloseMicData();
}

// --- a recognition's life ------------------------------------------------------------

void QXAudioMonitorService::beginAsr()
{
    if (d.keys.hadStart())
        return;
    m_startTime = now();
    m_keepsLastResult = false;
    d.keys.setHadStart(true);
    d.keys.setIsResetKey(false);
    d.translator.resetTranslation();
    m_resultText.clear();
    const quint64 session = ++m_session;
    d.speech.addStatusListener(this);
    QPointer<QObject> alive(&m_context);
    d.speech.beginAsrIsTransferAudio(false, [this, alive, session](bool success, const QString &text, bool isLast) {
        if (alive && session == m_session)
            onAsrResult(success, text, isLast);
    });
    if (m_isShowTextPopWindow)
        d.popup.showSpeechView(localized("请说话..."), d.keys.pressType());
    startTimer();
    post(qx::notify::ASRStartNotification);
}

void QXAudioMonitorService::endAsr()
{
    if (d.keys.hadStart())
        finishSession(true);
    else
        d.popup.dismissSpeechView();
}

// The text so far stays: the end time-out delivers it when no last result comes.
void QXAudioMonitorService::finishSession(bool armTimeOut)
{
    invalidateTimer();
    d.keys.setHadStart(false);
    d.keys.setIsResetKey(false);
    d.speech.endAsr();
    post(qx::notify::ASRFinishNotification);
    if (armTimeOut)
        startTimeOutTimer();
}

void QXAudioMonitorService::cancelAsr()
{
    if (!isMainThread()) {
        QMetaObject::invokeMethod(
            &m_context, [this] { cancelAsr(); }, Qt::QueuedConnection);
        return;
    }
    if (d.keys.hadStart()) {
        m_resultText.clear();
        invalidateTimer();
        d.keys.setHadStart(false);
        d.keys.setIsResetKey(false);
        d.speech.cancelAsr();
        post(qx::notify::ASRFinishNotification);
    }
    d.popup.dismissSpeechView();
    setPressType(kNone);
}

void QXAudioMonitorService::endIMouseMonitor()
{
    if (d.closeHidDevice)
        d.closeHidDevice();
}

// A last result while the key is still held (the service ended by itself): the
// recording stops as at a release, and the text is the released key's.
int QXAudioMonitorService::endHeldRecognition()
{
    const int held = d.keys.pressType();
    if (!d.keys.hadStart() || !isHeld(held))
        return kNone;
    d.keys.setPressType(held + 1);
    finishSession(false);
    return held;
}

// --- timers ----------------------------------------------------------------------------

void QXAudioMonitorService::startTimer()
{
    Scheduler &s = Scheduler::instance();
    cancelTimer(s, m_tipTimer);
    m_tipTimer = s.singleShot(
        kNoSpeechTipMs,
        [this] {
            m_tipTimer = Scheduler::kNoTimer;
            showTipMessage();
        },
        &m_context);
}

void QXAudioMonitorService::invalidateTimer()
{
    cancelTimer(Scheduler::instance(), m_tipTimer);
}

bool QXAudioMonitorService::isPointerMicMode() const
{
    return d.state.isLaser() && d.state.isVoice() && d.state.laserPenVoiceFunctionIndex() == 0
           && d.keys.pressType() == kTypingDown;
}

void QXAudioMonitorService::showTipMessage()
{
    if (isPointerMicMode())
        return;
    if (m_resultText.isEmpty() && d.keys.hadStart() && m_isShowTextPopWindow && d.speech.isSocketOpen())
        d.popup.showSpeechView(localized("没有听到您说话，请按语音键重说"), kNone);
}

void QXAudioMonitorService::startTimeOutTimer()
{
    Scheduler &s = Scheduler::instance();
    cancelTimer(s, m_timeOutTimer);
    m_timeOutTimer = s.singleShot(
        kEndTimeOutMs,
        [this] {
            m_timeOutTimer = Scheduler::kNoTimer;
            manualEndAsr();
        },
        &m_context);
}

void QXAudioMonitorService::invalidateTimeOutTimer()
{
    m_isManualEnd = false;
    cancelTimer(Scheduler::instance(), m_timeOutTimer);
}

// No last result came: the recognition ends with the text it has, delivered as the
// released key's (pasted, searched or translated).
void QXAudioMonitorService::manualEndAsr()
{
    cancelTimer(Scheduler::instance(), m_timeOutTimer);
    if (d.popup.isLast())
        return;
    d.popup.dismissSpeechView();
    m_isManualEnd = true;
    d.keys.setHadStart(false);
    if (d.keys.pressType() == kTranslateUp && !m_resultText.isEmpty())
        d.translator.speechManagerRecognitionStatusChangeRecognizingAsr(m_resultText, QString(), 2);
    dealWithAsrResult(m_resultText, true);
}

// --- results ---------------------------------------------------------------------------

void QXAudioMonitorService::speechManagerRecognitionStatusChangeRecognizingAsrNewResult(const QString &display,
                                                                                        const QString &newText,
                                                                                        int status)
{
    d.translator.speechManagerRecognitionStatusChangeRecognizingAsr(display, newText, status);
}

bool QXAudioMonitorService::takesTextWithoutPopup() const
{
    if (d.state.keyAction() != kAiWindowKeyAction)
        return false;
    const QString product = d.state.productCode();
    return product == QLatin1String("41") || product.toInt() == 209 || product.toInt() == 285;
}

void QXAudioMonitorService::onAsrResult(bool success, const QString &text, bool isLast)
{
    if (m_isManualEnd && text.isEmpty()) {
        d.popup.dismissSpeechView();
        m_isManualEnd = false;
        return;
    }
    d.popup.setIsLast(isLast);
    const int heldKey = isLast ? endHeldRecognition() : kNone;
    // Whatever ends a recognition's last result, the dispatcher is idle afterwards.
    const bool keeps = std::exchange(m_keepsLastResult, m_keepsLastResult && !isLast);
    if (!success || (m_isShowTextPopWindow && !d.popup.isShow() && !takesTextWithoutPopup() && !keeps)) {
        d.popup.dismissSpeechView();
        if (isLast)
            goIdle();
        return;
    }
    m_resultText = text;
    if (isLast) {
        d.popup.dismissSpeechView();
        if (d.device.isStartVoice())
            d.device.sendCloseMicData();
    } else {
        d.popup.showSpeechView(text, d.keys.pressType());
    }
    // Held through its last result, the translation key's text is translated whole.
    if (heldKey == kTranslateDown && !text.isEmpty())
        d.translator.speechManagerRecognitionStatusChangeRecognizingAsr(text, QString(), 2);
    dealWithAsrResult(text, isLast);
}

void QXAudioMonitorService::dealWithAsrResult(const QString &text, bool isLast)
{
    if (!text.isEmpty())
        dealWithFinalAsrResult(text, isLast);
    else if (isLast)
        goIdle(); // an empty last result ends the recognition too
}

void QXAudioMonitorService::dealWithFinalAsrResult(const QString &text, bool isLast)
{
    switch (d.keys.pressType()) {
    case kSearchUp:
        m_searchString = text;
        if (isLast) {
            m_searchString.remove(QStringLiteral("。"));
            m_searchString.remove(u'!');
            d.delivery.requestMatchingCmd(m_searchString);
        }
        break;
    case kTypingUp:
        if (isLast && !d.state.semanticSwitch())
            d.delivery.copyAndPasteResult(text);
        break;
    default:
        break; // the translation key's text goes through the translation
    }
    if (isLast)
        goIdle();
}

void QXAudioMonitorService::goIdle()
{
    setPressType(kNone);
    d.keys.setHadStart(false);
}
