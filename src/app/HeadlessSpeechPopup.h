#pragma once

#include "ISpeechPopup.h"
#include "PZLog.h"

// The speech pop-up until its windows are part of the build: keeps the two flags the
// dispatcher reads (so results flow as with a pop-up on screen); the tips go to the log.
class HeadlessSpeechPopup final : public ISpeechPopup {
public:
    void showSpeechView(const QString &, qint64) override { m_isShow = true; }
    void showYiText(const QString &) override {}
    void dismissSpeechView() override { m_isShow = false; }
    void showTipMessage(const QString &text, const QString &imageName) override
    {
        qxInfo("popup") << "tip" << imageName << text;
    }
    bool isShow() const override { return m_isShow; }
    bool isLast() const override { return m_isLast; }
    void setIsLast(bool on) override { m_isLast = on; }

private:
    bool m_isShow = false;
    bool m_isLast = false;
};
