#include "QXGetCustomerKeyScene.h"

#include "QXNetSceneState.h"

QXGetCustomerKeyScene::QXGetCustomerKeyScene()
{
    fillFromState();
}

void QXGetCustomerKeyScene::fillFromState()
{
    const QXNetSceneState &state = QXNetSceneState::instance();
    productCode = state.productCode();
    if (productCode.isEmpty())
        productCode = QString::number(state.deviceMouseType());
    languageCode = state.uiLanguageCode();
    sn = state.deviceSn();
    mac = state.interfaceMacAddress();
    firmwareVersion = state.deviceFirmwareVersion();
}

QString QXGetCustomerKeyScene::requestURL()
{
    fillFromState();
    forceUpdate = QXNetSceneState::instance().takeForceGetRequest() ? QStringLiteral("1") : QStringLiteral("0");
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/getModelInfo"),
                           {{QStringLiteral("productCode"), productCode},
                            {QStringLiteral("languageCode"), languageCode},
                            {QStringLiteral("sno"), sn},
                            {QStringLiteral("id"), modelId},
                            {QStringLiteral("mac"), mac},
                            {QStringLiteral("firmwareVersion"), firmwareVersion},
                            {QStringLiteral("forceUpdate"), forceUpdate}});
}
