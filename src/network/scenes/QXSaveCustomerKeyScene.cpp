#include "QXSaveCustomerKeyScene.h"

#include "QXNetSceneState.h"

QString QXSaveCustomerKeyScene::requestURL()
{
    sn = QXNetSceneState::instance().deviceSn();
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/addCustomerKey"),
                           {{QStringLiteral("cmdId"), cmdId},
                            {QStringLiteral("keyId"), keyId},
                            {QStringLiteral("opId"), opId},
                            {QStringLiteral("sno"), sn},
                            {QStringLiteral("userModelId"), userModelId},
                            {QStringLiteral("attr0"), attr0},
                            {QStringLiteral("attr1"), attr1},
                            {QStringLiteral("attr2"), attr2}});
}
