#pragma once

#include <QRect>

// The floating translation window, as the shell's outside-click monitor sees it.
class ITranslationWindow {
public:
    virtual ~ITranslationWindow() = default;
    virtual bool isShow() const = 0;
    // In desktop coordinates (top-left origin), the window manager's frame included.
    virtual QRect frameGeometry() const = 0;
    virtual void dismissWindow() = 0;
};
