#pragma once

#include <functional>
#include <memory>

class KeySettingSubModel;
class QWidget;
class QXVoiceCommandItem;

// Opens the add and edit command dialog over a page. The key rows of the device page
// open it in mouse-setting mode (the key option receives the target); the voice
// command list opens it in voice mode (record: the command to edit, nullptr to add).
// The command pages implement it; the composition root hands it to every page.
class IAddCommandDialogs {
public:
    using Finish = std::function<void(bool success)>;

    virtual ~IAddCommandDialogs() = default;

    // The dialog covers host and follows its size. Finish runs at most once: never on
    // cancel; it may destroy the host. Returns the dialog, which deletes itself when
    // it closes.
    virtual QWidget *open(QWidget *host, bool mouseMode, std::shared_ptr<KeySettingSubModel> keyOption,
                          std::shared_ptr<QXVoiceCommandItem> record, Finish finish) = 0;
};
