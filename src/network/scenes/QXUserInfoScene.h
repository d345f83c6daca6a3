#pragma once

#include "QXAccountAnswerScene.h"

// Member information of the logged-in account.
class QXUserInfoScene : public QXAccountAnswerScene {
public:
    QString token;

    QString requestURL() override;
};
