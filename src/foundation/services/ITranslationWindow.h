#pragma once

#include <QRect>
#include <QString>

// The floating translation window, as the shell's outside-click monitor and the
// pop-up tool that hands it its texts see it.
class ITranslationWindow {
public:
    virtual ~ITranslationWindow() = default;
    // Shows the window with its language list, then the source, then the translation
    // (an empty translation leaves the shown one alone). Main thread.
    virtual void showTranslateWindow(const QString &fanText, const QString &yiText) = 0;
    virtual bool isShow() const = 0;
    // In desktop coordinates (top-left origin), the window manager's frame included.
    virtual QRect frameGeometry() const = 0;
    virtual void dismissWindow() = 0;
};
