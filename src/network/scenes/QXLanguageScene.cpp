#include "QXLanguageScene.h"

QString QXLanguageScene::requestURL()
{
    return qxBuildSceneUrl(secondApiBase(), QStringLiteral("/languages"));
}
