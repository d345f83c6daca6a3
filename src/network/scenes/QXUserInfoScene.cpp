#include "QXUserInfoScene.h"

QString QXUserInfoScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/memberInfo"), {{QStringLiteral("token"), token}});
}
