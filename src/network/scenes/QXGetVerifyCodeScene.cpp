#include "QXGetVerifyCodeScene.h"

QString QXGetVerifyCodeScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/getCode"),
                           {{QStringLiteral("account"), account},
                            {QStringLiteral("accountType"), accountType},
                            {QStringLiteral("codeType"), codeType},
                            {QStringLiteral("country"), country}});
}
