#include "QXQueryOrderStateScene.h"

QString QXQueryOrderStateScene::requestURL()
{
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/queryOrderStatus"), {{QStringLiteral("orderNo"), orderNo}});
}
