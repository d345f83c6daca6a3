#pragma once

#include "QXNetBaseScene.h"

// Resets the device's key mappings on the server; `sn` is always the stored
// device's serial number.
class QXResetCustomerKeyScene : public QXNetBaseScene {
public:
    QString sn, userModelId;

    QString requestURL() override;
    QString httpMethod() const override { return QStringLiteral("POST"); }
};
