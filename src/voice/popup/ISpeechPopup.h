#pragma once

#include "services/IPopupTips.h"

#include <QString>

// The speech pop-up (QXPopupWindowTool) as the voice-key dispatcher drives it: the
// live text of a recognition, its translation line, the tips, and two flags the
// dispatcher reads back. Main thread.
class ISpeechPopup : public IPopupTips {
public:
    // Shows the pop-up with the text; type is the voice key's press type (33 typing,
    // 35 search, 37 translation, their key-up codes, 0 for a message of its own).
    virtual void showSpeechView(const QString &text, qint64 type) = 0;
    // The translation line under the recognised text.
    virtual void showYiText(const QString &text) = 0;
    virtual void dismissSpeechView() = 0;

    virtual bool isShow() const = 0;
    // The last result of the recognition has arrived.
    virtual bool isLast() const = 0;
    virtual void setIsLast(bool on) = 0;
};
