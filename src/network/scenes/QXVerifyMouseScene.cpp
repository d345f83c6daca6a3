#include "QXVerifyMouseScene.h"

QString QXVerifyMouseScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/verifyMouse"));
}
