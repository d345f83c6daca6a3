#pragma once

#include "services/AlertPresenter.h"

#include <functional>
#include <vector>

// Records the alerts asked for; a test answers them with answer().
class RecordingAlertPresenter : public AlertPresenter {
public:
    struct Shown {
        QString message;
        QStringList buttons;
        std::function<void(int)> done;
    };
    std::vector<Shown> shown;

    void showAlert(const QString &message, const QStringList &buttons, std::function<void(int)> done) override
    {
        shown.push_back({message, buttons, std::move(done)});
    }
    int count() const { return int(shown.size()); }
    // Ends the last alert with the button at index (-1: closed without one).
    void answer(int index)
    {
        if (shown.empty() || !shown.back().done)
            return;
        auto done = std::move(shown.back().done);
        shown.back().done = nullptr;
        done(index);
    }
};
