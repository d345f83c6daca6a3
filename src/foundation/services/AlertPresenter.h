#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Asks the user a question in an alert on the main window and reports which button
// ended it: the index into `buttons`, or -1 when the alert went away without one.
// `done` is called at most once, on the main thread, after showAlert has returned.
class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;
    virtual void showAlert(const QString &message, const QStringList &buttons, std::function<void(int)> done) = 0;
};
