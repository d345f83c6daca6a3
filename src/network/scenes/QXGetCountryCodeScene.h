#pragma once

#include "QXAccountAnswerScene.h"

// Country calling codes: the API base itself.
class QXGetCountryCodeScene : public QXAccountAnswerScene {
public:
    QString requestURL() override;
};
