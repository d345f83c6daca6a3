#pragma once

#include "ISpeechPopup.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class ITranslationWindow;
class IVoiceKeyDispatcher;
class QXPopupWindow;
class QXShowTipWindow;
class QXUserInfoData;
class VoiceKeyState;

// The one way the application shows voice feedback: the speech pop-up with the live
// text (and its translation) at the right edge of the screen, and the timed tip
// bubble in the middle. Every operation may be called from any thread; it runs at
// once on the main thread, else it is handed there. The windows are made on first
// use and never take the focus.
class QXPopupWindowTool final : public QObject, public ISpeechPopup {
    Q_OBJECT
public:
    struct Deps {
        QXUserInfoData *state = nullptr;      // product code and key action; required
        VoiceKeyState *keys = nullptr;        // hadStart; lastPressType ends with the pop-up
        IVoiceKeyDispatcher *voice = nullptr; // cancelAsr for the close button
        // The main window, which a tip hides while it is the active window; empty or
        // nullptr: none (the window may be gone before the last tip).
        std::function<QWidget *()> mainWindow;
        // A compositor runs, so the windows may be translucent (else opaque, shaped).
        bool translucent = false;
    };

    explicit QXPopupWindowTool(Deps deps);
    ~QXPopupWindowTool() override;
    QXPopupWindowTool(const QXPopupWindowTool &) = delete;
    QXPopupWindowTool &operator=(const QXPopupWindowTool &) = delete;

    // The instance the composition root installed.
    static QXPopupWindowTool &sharedInstance();

    // Products whose AI window takes the voice text show no pop-up for its key action.
    static bool suppressesPopup(const QString &productCode, quint64 keyAction);

    // press type: 33 typing, 35 search command, 37 translation.
    void showSpeechView(const QString &text, qint64 type) override;
    // Shown only while translating (37) with a recognition running.
    void showYiText(const QString &text) override;
    void dismissSpeechView() override;
    // Always later, through the main loop, even with no delay from the main thread.
    void dismissSpeechView(double delaySeconds);
    void showTipMessage(const QString &text, const QString &imageName) override;

    bool isShow() const override { return m_isShow.load(); }
    bool isLast() const override { return m_isLast.load(); }
    void setIsLast(bool on) override { m_isLast.store(on); }
    bool isScreenshotsOCR() const { return m_isScreenshotsOCR.load(); }
    void setIsScreenshotsOCR(bool on) { m_isScreenshotsOCR.store(on); }

    // The translation window lives above this layer; the root hands it over (nullptr:
    // none, and the texts below go nowhere). It must outlive this tool's use of it.
    void setTranslationWindow(ITranslationWindow *window) { m_translationWindow = window; }
    // Shows the translation window with a source and a translation, on the main thread.
    void showTranslateWindowFanText(const QString &fanText, const QString &yiText);

    // The windows, made on first use. Main thread only.
    QXPopupWindow &popupWindow();
    QXShowTipWindow &tipWindow();

private:
    template <typename Fn> void onMainThread(Fn fn);

    Deps m_deps;
    std::unique_ptr<QXPopupWindow> m_popupWindow;
    std::unique_ptr<QXShowTipWindow> m_tipWindow;
    std::atomic<bool> m_isShow{false};
    std::atomic<bool> m_isLast{false};
    std::atomic<bool> m_isScreenshotsOCR{false};
    ITranslationWindow *m_translationWindow = nullptr;
};
