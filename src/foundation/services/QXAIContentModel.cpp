#include "QXAIContentModel.h"

#include "Scheduler.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

QXAIContentModel::QXAIContentModel()
    : clientId(QStringLiteral("clientId%1").arg(Scheduler::instance().clock().secondsSinceEpoch()))
{
}

QString QXAIContentModel::lastAnswer() const
{
    const QString marker = QString::fromLatin1(kChatPieceMarker);
    if (!answer.contains(marker))
        return answer;
    const QStringList pieces = answer.split(marker);
    // The first piece is deliberately not examined.
    for (qsizetype i = pieces.size() - 1; i >= 1; --i) {
        const QJsonDocument doc = QJsonDocument::fromJson(pieces[i].toUtf8());
        if (!doc.isObject())
            continue;
        const QJsonValue data = doc.object().value("data");
        if (data.isObject())
            return data.toObject().value("text").toString();
    }
    return answer;
}
