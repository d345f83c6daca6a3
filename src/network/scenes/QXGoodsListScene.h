#pragma once

#include "QXAccountAnswerScene.h"

// The purchasable goods for mice.
class QXGoodsListScene : public QXAccountAnswerScene {
public:
    QString type;

    QString requestURL() override;
};
