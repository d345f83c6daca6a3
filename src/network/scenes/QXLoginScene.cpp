#include "QXLoginScene.h"

#include "QXNetSceneState.h"

QString QXLoginScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/login"),
                           {{QStringLiteral("account"), account},
                            {QStringLiteral("password"), password},
                            {QStringLiteral("serialNo"), QXNetSceneState::instance().deviceSn()}});
}
