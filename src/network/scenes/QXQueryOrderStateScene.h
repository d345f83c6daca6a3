#pragma once

#include "QXAccountAnswerScene.h"

// State of a purchase order.
class QXQueryOrderStateScene : public QXAccountAnswerScene {
public:
    QString orderNo;

    QString requestURL() override;
};
