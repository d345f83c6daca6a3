#include "QXBaiduAsrNetScene.h"

#include "QXServiceEndpoints.h"

QString QXBaiduAsrNetScene::requestURL()
{
    if (!myRequestURL.isEmpty())
        return myRequestURL;
    return qxServiceBase(QXService::BaiduShortSpeech) + QStringLiteral("/server_api");
}

QXStringMap QXBaiduAsrNetScene::requestHeader() const
{
    if (myHeaderParam())
        return *myHeaderParam();
    return {{QStringLiteral("Content-Type"), QStringLiteral("audio/pcm;rate=16000")}};
}
