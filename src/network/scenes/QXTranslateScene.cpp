#include "QXTranslateScene.h"

#include "QXNetSceneState.h"

QString QXTranslateScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/translate"),
                           {{QStringLiteral("appkey"), QXNetSceneState::instance().appKey()},
                            {QStringLiteral("from"), fromLanguage.isEmpty() ? QStringLiteral("auto") : fromLanguage},
                            {QStringLiteral("to"), toLanguage},
                            {QStringLiteral("text"), text}});
}
