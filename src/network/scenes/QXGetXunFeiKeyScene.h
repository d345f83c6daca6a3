#pragma once

#include "QXNetBaseScene.h"

// The speech vendor's credentials.
class QXGetXunFeiKeyScene : public QXNetBaseScene {
public:
    QString requestURL() override;
};
