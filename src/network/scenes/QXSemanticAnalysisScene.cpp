#include "QXSemanticAnalysisScene.h"

#include "QXServiceEndpoints.h"

QString QXSemanticAnalysisScene::requestURL()
{
    return qxServiceBase(QXService::SemanticAnalysis) + QStringLiteral("/dbzy/saapi.json");
}
