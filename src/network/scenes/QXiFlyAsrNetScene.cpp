#include "QXiFlyAsrNetScene.h"

#include "QXServiceEndpoints.h"

QString QXiFlyAsrNetScene::requestURL()
{
    return qxServiceBase(QXService::IFlytekWebApi) + QStringLiteral("/v1/service/v1/iat");
}
