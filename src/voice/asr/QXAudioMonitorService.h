#pragma once

#include "IAsrService.h"
#include "ISpeechStatusListener.h"
#include "Scheduler.h"
#include "services/IVoiceKeyDispatcher.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class IKeyPressManager;
class ISpeechPopup;
class ISpeechTranslator;
class NotificationCenter;
class QXMouseCommandManager;
class QXResultDelivery;
class QXUserInfoData;
class VoiceKeyState;
namespace platform {
class IKeyPoster;
}

// The one entry point of the device's key events: the voice keys open and close a
// recognition, the mode keys show a tip, one code presses Enter, the programmable keys
// go to the key-action handler. Owns the recognition's state (which voice key is held,
// whether a recognition runs), refuses starts that follow each other too fast, asks
// the user to speak when nothing is heard, ends a recognition whose last result does
// not come, and decides where each result goes: the pop-up while it grows, then
// paste, voice command or translation.
//
// Main thread: calls from other threads are handed to it.
class QXAudioMonitorService final : public IVoiceKeyDispatcher, public ISpeechStatusListener {
public:
    struct Deps {
        QXUserInfoData &state;
        VoiceKeyState &keys; // hadStart, pressType, isResetKey, shared with the device layers
        QXMouseCommandManager &device;
        platform::IKeyPoster &keyPoster;
        IAsrService &speech;
        ISpeechPopup &popup;
        IKeyPressManager &keyPress;
        ISpeechTranslator &translator;
        QXResultDelivery &delivery;
        NotificationCenter *notifications = nullptr; // nullptr: the default centre
        std::function<void()> closeHidDevice = {};
    };

    static constexpr int kStartGuardMs = 1500;   // a start this soon after the last attempt is refused
    static constexpr int kRefusalShownMs = 300;  // how long "too fast" shows
    static constexpr int kSearchCancelMs = 1500; // a shorter search press is abandoned
    static constexpr int kNoSpeechTipMs = 5000;
    static constexpr int kEndTimeOutMs = 3000; // after the release, for the last result

    explicit QXAudioMonitorService(Deps deps);
    ~QXAudioMonitorService() override;
    QXAudioMonitorService(const QXAudioMonitorService &) = delete;
    QXAudioMonitorService &operator=(const QXAudioMonitorService &) = delete;

    // The instance the composition root installed.
    static QXAudioMonitorService &sharedInstance();

    void hidCallbackType(int type) override;
    void cancelAsr() override;
    void endIMouseMonitor() override;
    // Cancels the no-speech tip.
    void invalidateTimer();

    void speechManagerRecognitionStatusChangeRecognizingAsrNewResult(const QString &display, const QString &newText,
                                                                     int status) override;

    // Every result of the running recognition (the speech service's result block).
    void onAsrResult(bool success, const QString &text, bool isLast);

    bool isManualEnd() const { return m_isManualEnd; }
    const QString &resultText() const { return m_resultText; }
    const QString &searchString() const { return m_searchString; }
    int currentHidButton() const { return m_currentHidButton; }

private:
    void keyDown(int code);
    void keyUp(int code);
    bool startRefused(qint64 now) const;
    void refuse(int code, qint64 now);
    void beginAsr();
    void endAsr();
    int endHeldRecognition();
    void finishSession(bool armTimeOut);
    bool releasedAndWaiting() const;
    void startTimer();
    void showTipMessage();
    void startTimeOutTimer();
    void invalidateTimeOutTimer();
    void manualEndAsr();
    void dealWithAsrResult(const QString &text, bool isLast);
    void dealWithFinalAsrResult(const QString &text, bool isLast);
    void goIdle();
    void setPressType(int type);
    bool takesTextWithoutPopup() const;
    bool isPointerMicMode() const;
    void post(const char *name);
    qint64 now() const;

    Deps d;
    QObject m_context;              // hops, timers and result blocks die with the dispatcher
    bool m_keepsLastResult = false; // the pop-up went at a repeated release; the result still counts
    bool m_isManualEnd = false;
    const bool m_isShowTextPopWindow = true; // results always go through the pop-up and a paste
    bool m_refusedPress = false;             // the key of a refused start is still down
    QString m_searchString;
    QString m_resultText;
    std::optional<qint64> m_startTime;
    std::optional<qint64> m_longPressTime;
    int m_currentHidButton = 0;
    quint64 m_session = 0; // results of an earlier recognition are not this one's
    Scheduler::TimerId m_tipTimer = Scheduler::kNoTimer;
    Scheduler::TimerId m_timeOutTimer = Scheduler::kNoTimer;
    Scheduler::TimerId m_refusalTimer = Scheduler::kNoTimer;
};
