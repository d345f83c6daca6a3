#pragma once

#include "popup/ISpeechPopup.h"

#include <QStringList>

// The speech pop-up as a list of calls ("show(text|type)", "yi(text)", "dismiss",
// "tip(text|image)") with the two flags a real one keeps. Header only: for tests that
// link the voice layer. `log` may point into a list the test shares with other fakes.
class RecordingSpeechPopup : public ISpeechPopup {
public:
    QStringList calls;
    QStringList *log = &calls;
    bool shown = false;
    bool last = false;

    void showSpeechView(const QString &text, qint64 type) override
    {
        shown = true;
        *log << QStringLiteral("show(%1|%2)").arg(text).arg(type);
    }
    void showYiText(const QString &text) override { *log << QStringLiteral("yi(%1)").arg(text); }
    void dismissSpeechView() override
    {
        shown = false;
        *log << QStringLiteral("dismiss");
    }
    void showTipMessage(const QString &text, const QString &image) override
    {
        *log << QStringLiteral("tip(%1|%2)").arg(text, image);
    }
    bool isShow() const override { return shown; }
    bool isLast() const override { return last; }
    void setIsLast(bool on) override { last = on; }
};
