#include "QXGoodsListScene.h"

QString QXGoodsListScene::requestURL()
{
    type = QStringLiteral("MOUSE");
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/goods"), {{QStringLiteral("type"), type}});
}
