#include "QXUploadBurnerInfoScene.h"

QString QXUploadBurnerInfoScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/addHardware"),
                           {{QStringLiteral("channel"), channel},
                            {QStringLiteral("firmwareVersion"), firmwareVersion},
                            {QStringLiteral("softVersion"), softVersion}});
}
