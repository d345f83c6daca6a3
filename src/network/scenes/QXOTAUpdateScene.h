#pragma once

#include "QXNetBaseScene.h"

// Firmware upgrade check; `type` "MOUSE" or "USB", `num` the current firmware number.
// The data object of the answer is a QXOTAModel.
class QXOTAUpdateScene : public QXNetBaseScene {
public:
    QString planCode, productCode, type, num;

    QString requestURL() override;
};
