#include "QXGetAppKeyScene.h"

#include "QXNetSceneState.h"

QString QXGetAppKeyScene::requestURL()
{
    QString channel = QStringLiteral("quorvex");
    switch (QXNetSceneState::instance().deviceMouseSource()) {
    case 1:
        channel += QStringLiteral("_out");
        break;
    case 2:
        channel += QStringLiteral("_asia");
        break;
    default:
        break;
    }
    return qxBuildSceneUrl(secondApiBase(), QStringLiteral("/appkeys"), {{QStringLiteral("channelName"), channel}});
}
