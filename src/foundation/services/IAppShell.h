#pragma once

class QWidget;

// What the other layers reach of the application shell (the main window and its tab
// bar). The AI window holder keeps its flag here; pages select a tab and host their
// alerts and file panels on the main window.
class IAppShell {
public:
    virtual ~IAppShell() = default;
    // The main window, on which alerts are shown window-modal. May be nullptr (no window yet).
    virtual QWidget *window() = 0;
    // Brings the main window forward, centred; without a device it goes away again.
    virtual void openApp() = 0;
    // Selects the tab at that position of the tab bar (0 is always there); another
    // position is ignored.
    virtual void manualSelectedItemWithIndex(int index) = 0;
    // Whether the AI window is the one showing (set by the AI window holder, only kept here).
    virtual bool isShowAIWindow() const = 0;
    virtual void setIsShowAIWindow(bool on) = 0;
};
