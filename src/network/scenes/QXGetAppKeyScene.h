#pragma once

#include "QXNetBaseScene.h"

// The application keys of the product's channel on the second API host.
class QXGetAppKeyScene : public QXNetBaseScene {
public:
    QString requestURL() override;
};
