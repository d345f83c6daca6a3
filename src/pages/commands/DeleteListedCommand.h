#pragma once

#include <QObject>

#include <functional>
#include <memory>

class ICommandModel;
class IErrorAlert;
class QXVoiceCommandItem;

// Deletes a command or hot-word entry of a list page on the server: the list reloads
// once it is gone, or "删除失败" tells the server's reason. Nothing happens once the
// page (owner) has been deleted.
void deleteListedCommand(ICommandModel &commands, IErrorAlert &errorAlert,
                         const std::shared_ptr<QXVoiceCommandItem> &item, QObject *owner, std::function<void()> reload);
