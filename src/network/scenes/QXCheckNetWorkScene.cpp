#include "QXCheckNetWorkScene.h"

#include "QXServiceEndpoints.h"

QString QXCheckNetWorkScene::requestURL()
{
    return qxServiceBase(QXService::WeatherCheck) + QStringLiteral("/data/sk/101010100.html");
}
