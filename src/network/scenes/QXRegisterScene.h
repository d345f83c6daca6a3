#pragma once

#include "QXAccountAnswerScene.h"

// Account registration; `type` is "PHONE" or "EMAIL".
class QXRegisterScene : public QXAccountAnswerScene {
public:
    QString account, code, password, type;

    QString requestURL() override;
    QString httpMethod() const override { return QStringLiteral("POST"); }
};
