#include "QXProductImageScene.h"

#include "QXNetSceneState.h"

QString QXProductImageScene::requestURL()
{
    const QXNetSceneState &state = QXNetSceneState::instance();
    productCode = state.productCode();
    languageCode = state.uiLanguageCode();
    return qxBuildSceneUrl(
        mainApiBase(), QStringLiteral("/productImg"),
        {{QStringLiteral("productCode"), productCode}, {QStringLiteral("languageCode"), languageCode}});
}
