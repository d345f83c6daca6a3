#include "QXRegisterScene.h"

QString QXRegisterScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/register"),
                           {{QStringLiteral("account"), account},
                            {QStringLiteral("code"), code},
                            {QStringLiteral("password"), password},
                            {QStringLiteral("type"), type}});
}
