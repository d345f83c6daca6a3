#include "QXNetBaseScene.h"

#include "QXNetSceneState.h"
#include "QXServiceEndpoints.h"

QString QXNetBaseScene::requestURL()
{
    return mainApiBase();
}

QXStringMap QXNetBaseScene::requestHeader() const
{
    if (m_myHeaderParam)
        return *m_myHeaderParam;
    return {{QStringLiteral("Content-Type"), QStringLiteral("text/html;charset=utf-8")}};
}

QXStringMap QXNetBaseScene::requestParameters() const
{
    if (m_myParam)
        return *m_myParam;
    return defaultClientFields();
}

QXAnswerSpec QXNetBaseScene::answerSpec() const
{
    QXAnswerSpec spec;
    spec.mode = resultBackType();
    spec.codeField = resultCodeParsingField();
    spec.successCode = resultSuccessCode();
    spec.messageField = resultMessageParsingField();
    spec.dataOneFloorField = resultDataOneFloorParsingField();
    spec.dataTwoFloorField = resultDataTwoFloorParsingField();
    spec.dataRequired = resultDataRequired();
    return spec;
}

QXStringMap QXNetBaseScene::defaultClientFields()
{
    const QXNetSceneState &state = QXNetSceneState::instance();
    return {
        {QStringLiteral("vid"), QString::number(state.deviceVid())},
        {QStringLiteral("pid"), QString::number(state.devicePid())},
        {QStringLiteral("sn"), state.deviceSn()},
        {QStringLiteral("channelName"), QStringLiteral("QX")},
        {QStringLiteral("macAddr"), state.macAddress()},
        {QStringLiteral("clientversion"), state.clientVersion()},
    };
}

QString QXNetBaseScene::mainApiBase()
{
    return qxServiceBase(QXService::MakerApi);
}

QString QXNetBaseScene::secondApiBase()
{
    return qxServiceBase(QXService::MakerApi2);
}
