#include "DeleteListedCommand.h"

#include "HRVLocalizedString.h"
#include "services/ICommandModel.h"
#include "services/IErrorAlert.h"

#include <QPointer>

void deleteListedCommand(ICommandModel &commands, IErrorAlert &errorAlert,
                         const std::shared_ptr<QXVoiceCommandItem> &item, QObject *owner, std::function<void()> reload)
{
    commands.deleteCustomCommand(item, [owner = QPointer<QObject>(owner), &errorAlert,
                                        reload = std::move(reload)](bool success, const QString &failure) {
        if (!owner)
            return;
        if (success)
            reload();
        else
            errorAlert.showErrorMsg(hrvAppLocalizedString(QStringLiteral("删除失败")), failure);
    });
}
