#pragma once

#include "QXNetBaseScene.h"

// Stores one key mapping of the device on the server. `sn` is always replaced by
// the stored device's serial number, whatever the caller set.
class QXSaveCustomerKeyScene : public QXNetBaseScene {
public:
    QString cmdId, keyId, opId, sn, userModelId, attr0, attr1, attr2;

    QString requestURL() override;
    QString httpMethod() const override { return QStringLiteral("POST"); }
};
