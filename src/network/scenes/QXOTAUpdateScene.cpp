#include "QXOTAUpdateScene.h"

QString QXOTAUpdateScene::requestURL()
{
    planCode = QStringLiteral("PLAN001");
    return qxBuildSceneUrl(mainApiBase(), QStringLiteral("/upgrade"),
                           {{QStringLiteral("planCode"), planCode},
                            {QStringLiteral("productCode"), productCode},
                            {QStringLiteral("type"), type},
                            {QStringLiteral("num"), num}});
}
