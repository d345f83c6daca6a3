#include "QXDeleteCommandScene.h"

QString QXDeleteCommandScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/deleteDeviceCmd"));
}
