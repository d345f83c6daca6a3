#pragma once

#include "AlertPresenter.h"

// An informational QMessageBox, window-modal on the application's main window
// (application-modal while there is none). The first button is the default and the
// one Escape presses, the rest accept.
class MessageBoxAlertPresenter final : public AlertPresenter {
public:
    void showAlert(const QString &message, const QStringList &buttons, std::function<void(int)> done) override;
};
