#pragma once

class QWidget;

// What the lower layers need of the application shell: the main window, on which
// error and update alerts are shown window-modal. May be nullptr (no window yet).
class IAppShell {
public:
    virtual ~IAppShell() = default;
    virtual QWidget *window() = 0;
};
