#pragma once

#include "services/AlertPresenter.h"

class IAppShell;

// An informational QMessageBox, window-modal on the application's main window
// (application-modal while there is none). The first button is the default and the
// one Escape presses, the rest accept.
class MessageBoxAlertPresenter final : public AlertPresenter {
public:
    // The shell whose main window the boxes are shown on; nullptr: no window.
    explicit MessageBoxAlertPresenter(IAppShell *shell = nullptr) : m_shell(shell) {}
    void showAlert(const QString &message, const QStringList &buttons, std::function<void(int)> done) override;

private:
    IAppShell *m_shell;
};
