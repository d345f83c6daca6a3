#include "QXCommonCmdListScene.h"

QString QXCommonCmdListScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/commonCmd"));
}
