#include "QXGetCountryCodeScene.h"

QString QXGetCountryCodeScene::requestURL()
{
    return mainApiBase();
}
