#pragma once

#include <QString>

// Tip bubbles (QXPopupWindowTool): an already localised text and an image name,
// centred on the screen, closing by themselves after 2 s. Callable from any thread.
class IPopupTips {
public:
    virtual ~IPopupTips() = default;
    virtual void showTipMessage(const QString &text, const QString &imageName) = 0;
};
