#include "QXAIScene.h"

QString QXAIScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/chat"), {{QStringLiteral("prompt"), prompt}});
}
