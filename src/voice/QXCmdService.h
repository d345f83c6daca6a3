#pragma once

#include "IVoiceCommandRunner.h"

#include <functional>

class QXCommandViewModel;
class TextInsertionService;
class QXVoiceCommandItem;
namespace platform {
class IWorkspace;
} // namespace platform

// Runs voice commands: finds the command a spoken text names in the command model's
// lists and runs its target: a file or folder the user picked, a web address, a
// recorded shortcut or a text to paste. Main thread only.
class QXCmdService : public IVoiceCommandRunner {
public:
    struct Deps {
        QXCommandViewModel &commands;
        platform::IWorkspace &workspace;
        TextInsertionService &text; // shortcuts and texts to paste
        // Whether the user picked this file or folder target (keyed by the target text
        // as stored); only picked targets are opened. Empty: none is.
        std::function<bool(const QString &target)> hasTargetRecord;
    };

    explicit QXCmdService(Deps deps);

    bool runSpokenCommand(const QString &spokenText, QString *searchText = nullptr) override;
    bool openFileWithCmdPath(const QString &target, const QString &cmdType) override;

private:
    // The command's own target, then the common one; false when neither ran.
    bool openFilePathCmd(const QXVoiceCommandItem &item);
    bool openPickedTarget(const QString &target);

    Deps m_deps;
};
