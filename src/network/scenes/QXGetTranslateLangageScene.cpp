#include "QXGetTranslateLangageScene.h"

#include "QXNetSceneState.h"

QString QXGetTranslateLangageScene::requestURL()
{
    const QXNetSceneState &state = QXNetSceneState::instance();
    QString url =
        qxBuildSceneUrl(mainApiBase(), QStringLiteral("/transLanguages"), {{QStringLiteral("appkey"), state.appKey()}});
    if (state.deviceMouseSource() == 1)
        url += QStringLiteral("&region=out");
    return url;
}
