#include "QXCmdService.h"

#include "PZLog.h"
#include "QXCommandMatching.h"
#include "QXCommandViewModel.h"
#include "TargetRecords.h"
#include "delivery/TextInsertionService.h"
#include "desktop/QXToolManagerUI.h"

#include <QFileInfo>
#include <QUrl>

QXCmdService::QXCmdService(Deps deps) : m_deps(std::move(deps)) {}

bool QXCmdService::runSpokenCommand(const QString &spokenText, QString *searchText)
{
    QXVoiceCommandPtr match = searchCmdFromCommandArr(m_deps.commands.customizeCmdListArray(), spokenText);
    if (!match)
        match = searchCmdFromCommandArr(m_deps.commands.commonCmdListArray(), spokenText);
    if (match && openFilePathCmd(*match))
        return true;
    if (searchText)
        *searchText = match ? qxCommandWord(*match) : spokenText;
    return false;
}

bool QXCmdService::openFilePathCmd(const QXVoiceCommandItem &item)
{
    const QString type = item.cmdType.value_or(QString());
    return openFileWithCmdPath(item.customName.value_or(QString()), type)
           || openFileWithCmdPath(item.cmdExecute.value_or(QString()), type);
}

bool QXCmdService::openFileWithCmdPath(const QString &target, const QString &cmdType)
{
    if (target.isEmpty())
        return false;
    if (cmdType == QLatin1String("folder") || cmdType == QLatin1String("file"))
        return openPickedTarget(target);
    if (cmdType == QLatin1String("shortcuts"))
        return m_deps.text.handleShortcut(target);
    if (cmdType == QLatin1String("text")) {
        // Pasted with local key events whatever the mode, and the clipboard keeps the text.
        m_deps.text.pasteText(target, {.chord = ITextInsertion::Chord::KeyEvents, .restoreClipboard = false});
        return true;
    }
    // Web sites, and every type this version does not know.
    const QUrl url = QXToolManagerUI::browserUrlForCmdString(target);
    if (!url.isValid()) {
        qxInfo("commands") << "not a web address, not opened:" << target;
        return false;
    }
    return m_deps.workspace.openUrl(url);
}

bool QXCmdService::openPickedTarget(const QString &target)
{
    const std::optional<QString> path = m_deps.targets ? m_deps.targets->resolve(target) : std::nullopt;
    if (!path) {
        qxInfo("commands") << "not opened, not a picked target:" << target;
        return false;
    }
    // A target deleted since it was picked reports failure, so the caller can fall
    // back to a web search instead of doing nothing.
    if (!QFileInfo::exists(*path)) {
        writeLog(QStringLiteral("打开失败，文件不存在：%1").arg(*path));
        return false;
    }
    return m_deps.workspace.openUrl(QUrl::fromLocalFile(*path));
}
