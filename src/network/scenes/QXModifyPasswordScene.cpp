#include "QXModifyPasswordScene.h"

QString QXModifyPasswordScene::requestURL()
{
    return qxBuildSceneUrl(
        mainApiBase(), QStringLiteral("/resetPwd"),
        {{QStringLiteral("account"), account}, {QStringLiteral("code"), code}, {QStringLiteral("password"), password}});
}
