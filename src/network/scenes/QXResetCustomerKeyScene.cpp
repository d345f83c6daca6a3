#include "QXResetCustomerKeyScene.h"

#include "QXNetSceneState.h"

QString QXResetCustomerKeyScene::requestURL()
{
    sn = QXNetSceneState::instance().deviceSn();
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/resetCustomerKey"),
                           {{QStringLiteral("sno"), sn}, {QStringLiteral("userModelId"), userModelId}});
}
