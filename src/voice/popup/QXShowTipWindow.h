#pragma once

#include "Scheduler.h"

#include <QWidget>

#include <functional>

class QXShowTipContentView;

// The timed tip bubble in the middle of the screen, closing by itself 2 s after the
// last tip. Like the speech pop-up it never takes the focus.
class QXShowTipWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTipDurationMs = 2000;

    // mainWindow: the application's main window, hidden when it is the active window
    // as a tip comes (empty or nullptr: none). translucent as for the pop-up.
    QXShowTipWindow(std::function<QWidget *()> mainWindow, bool translucent);
    ~QXShowTipWindow() override;

    QXShowTipContentView *tipContentView() const { return m_content; }
    bool isTipTimerRunning() const { return m_tipTimer != Scheduler::kNoTimer; }

    void showTipMessage(const QString &message, const QString &imageName);
    void dismissTipWindow();
    void startTipTimer();
    void invalidateTipTimer();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    std::function<QWidget *()> m_mainWindow;
    bool m_translucent;
    QXShowTipContentView *m_content = nullptr;
    Scheduler::TimerId m_tipTimer = Scheduler::kNoTimer;
};
