#pragma once

#include "delivery/IVoiceCommandRunner.h"

class QXCommandViewModel;
class TextInsertionService;
class TargetRecords;
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
        // The file and folder targets the user picked; only those are opened. nullptr: none is.
        const TargetRecords *targets = nullptr;
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
