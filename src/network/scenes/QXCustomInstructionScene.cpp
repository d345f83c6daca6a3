#include "QXCustomInstructionScene.h"

#include "QXNetSceneState.h"

QString QXCustomInstructionScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/deviceCmd"),
                           {{QStringLiteral("sn"), QXNetSceneState::instance().deviceSn()}});
}
