#include "QXPopupWindowTool.h"

#include "InstalledInstance.h"
#include "MainThread.h"
#include "QXPopupWindow.h"
#include "QXShowTipWindow.h"
#include "QXUserInfoData.h"
#include "Scheduler.h"
#include "services/ITranslationWindow.h"
#include "services/IVoiceKeyDispatcher.h"
#include "services/VoiceKeyState.h"

#include <QMetaObject>

#include <cmath>
#include <limits>

namespace {
constexpr quint64 kAiWindowKeyAction = 18;
} // namespace

QXPopupWindowTool::QXPopupWindowTool(Deps deps) : m_deps(deps)
{
    Q_ASSERT(m_deps.state);
}

QXPopupWindowTool::~QXPopupWindowTool() = default;

QXPopupWindowTool &QXPopupWindowTool::sharedInstance()
{
    return InstalledInstance<QXPopupWindowTool>::get("QXPopupWindowTool");
}

bool QXPopupWindowTool::suppressesPopup(const QString &productCode, quint64 keyAction)
{
    if (keyAction != kAiWindowKeyAction)
        return false;
    const int number = productCode.toInt();
    return productCode == QLatin1String("41") || number == 209 || number == 285;
}

template <typename Fn> void QXPopupWindowTool::onMainThread(Fn fn)
{
    if (isMainThread())
        fn();
    else
        QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

QXPopupWindow &QXPopupWindowTool::popupWindow()
{
    if (!m_popupWindow) {
        QXPopupWindow::Deps d;
        QXUserInfoData *state = m_deps.state;
        d.suppressed = [state] { return suppressesPopup(state->productCode(), state->keyAction()); };
        VoiceKeyState *keys = m_deps.keys;
        d.hadStart = [keys] { return keys && keys->hadStart(); };
        d.resetLastPressType = [keys] {
            if (keys)
                keys->setLastPressType(0);
        };
        IVoiceKeyDispatcher *voice = m_deps.voice;
        d.cancelAsr = [voice] {
            if (voice)
                voice->cancelAsr();
        };
        d.translucent = m_deps.translucent;
        m_popupWindow = std::make_unique<QXPopupWindow>(std::move(d));
        connect(m_popupWindow.get(), &QXPopupWindow::shownChanged, this, [this](bool on) { m_isShow.store(on); });
    }
    return *m_popupWindow;
}

QXShowTipWindow &QXPopupWindowTool::tipWindow()
{
    if (!m_tipWindow) {
        m_tipWindow = std::make_unique<QXShowTipWindow>(m_deps.mainWindow, m_deps.translucent);
    }
    return *m_tipWindow;
}

void QXPopupWindowTool::showSpeechView(const QString &text, qint64 type)
{
    onMainThread([this, text, type] { popupWindow().showSpeechView(text, type); });
}

void QXPopupWindowTool::showYiText(const QString &text)
{
    onMainThread([this, text] { popupWindow().showYiText(text); });
}

void QXPopupWindowTool::dismissSpeechView()
{
    // A pop-up never shown is not built to be taken down; the press it ends still ends.
    onMainThread([this] {
        if (m_popupWindow)
            m_popupWindow->dismissSpeechView();
        else if (m_deps.keys)
            m_deps.keys->setLastPressType(0);
    });
}

void QXPopupWindowTool::dismissSpeechView(double delaySeconds)
{
    // A delay that is not a number, or negative, is no delay; a huge one is capped
    // where a timer can hold it.
    double ms = std::isfinite(delaySeconds) && delaySeconds > 0 ? delaySeconds * 1000 : 0;
    ms = std::min(ms, double(std::numeric_limits<int>::max()));
    const int delayMs = int(ms);
    QMetaObject::invokeMethod(
        this,
        [this, delayMs] {
            Scheduler::instance().singleShot(
                delayMs, [this] { dismissSpeechView(); }, this);
        },
        Qt::QueuedConnection);
}

void QXPopupWindowTool::showTipMessage(const QString &text, const QString &imageName)
{
    onMainThread([this, text, imageName] { tipWindow().showTipMessage(text, imageName); });
}

void QXPopupWindowTool::showTranslateWindowFanText(const QString &fanText, const QString &yiText)
{
    onMainThread([this, fanText, yiText] {
        if (m_translationWindow)
            m_translationWindow->showTranslateWindow(fanText, yiText);
    });
}
