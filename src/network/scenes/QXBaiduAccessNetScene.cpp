#include "QXBaiduAccessNetScene.h"

#include "QXServiceEndpoints.h"

QString QXBaiduAccessNetScene::requestURL()
{
    return qxServiceBase(QXService::BaiduOAuth) + QStringLiteral("/oauth/2.0/token?");
}

QXStringMap QXBaiduAccessNetScene::requestHeader() const
{
    if (myHeaderParam())
        return *myHeaderParam();
    return {{QStringLiteral("Content-Type"), QStringLiteral("application/json")},
            {QStringLiteral("Cache-Control"), QStringLiteral("no-store")}};
}
