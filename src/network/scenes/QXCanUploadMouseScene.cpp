#include "QXCanUploadMouseScene.h"

QString QXCanUploadMouseScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/channelUpdate"), {{QStringLiteral("channel"), channel}});
}
