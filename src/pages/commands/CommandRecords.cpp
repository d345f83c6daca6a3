#include "CommandRecords.h"

#include "sqlite/QXVoiceCommandItem.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

QString commandTypeIconName(const QXVoiceCommandItem &item)
{
    return QStringLiteral("4_commandType%1_icon").arg(item.typeIndex() + 1);
}

QString pickedLocationText(const QString &localPath)
{
    return QStringLiteral("file://") + QFileInfo(localPath).absoluteFilePath();
}

QString hotWordEntryText(const QStringList &words)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(words)).toJson(QJsonDocument::Compact));
}
