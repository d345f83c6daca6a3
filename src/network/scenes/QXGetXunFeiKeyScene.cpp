#include "QXGetXunFeiKeyScene.h"

QString QXGetXunFeiKeyScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/getXfInfo"));
}
