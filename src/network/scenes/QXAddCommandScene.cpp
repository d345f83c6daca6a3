#include "QXAddCommandScene.h"

QString QXAddCommandScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/saveDeviceCmd"));
}
