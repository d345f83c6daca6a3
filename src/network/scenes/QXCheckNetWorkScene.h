#pragma once

#include "QXNetBaseScene.h"

// Proves internet access with a public weather-data page; it has no "rc", so any
// JSON answer counts as success.
class QXCheckNetWorkScene : public QXNetBaseScene {
public:
    QString requestURL() override;
};
