#include "QXMicrosoftTransNetScene.h"

#include "QXNetSceneState.h"
#include "QXServiceEndpoints.h"

QString QXMicrosoftTransNetScene::requestURL()
{
    const QString to = toLanguageCode.isEmpty() ? QXNetSceneState::instance().toLanguageCode() : toLanguageCode;
    return qxBuildSceneUrl(qxServiceBase(QXService::MicrosoftTranslator), QStringLiteral("/translate"),
                           {{QStringLiteral("api-version"), QStringLiteral("3.0")},
                            {QStringLiteral("from"), fromLanguageCode},
                            {QStringLiteral("to"), to}});
}

QXStringMap QXMicrosoftTransNetScene::requestHeader() const
{
    if (myHeaderParam())
        return *myHeaderParam();
    return {{QStringLiteral("Content-Type"), QStringLiteral("application/json")},
            {QStringLiteral("Ocp-Apim-Subscription-Key"), subscriptionKey()},
            {QStringLiteral("X-ClientTraceId"), clientTraceId()},
            {QStringLiteral("Host"), qxServiceHostName(QXService::MicrosoftTranslator)}};
}
