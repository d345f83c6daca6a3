#pragma once

#include "QXAccountAnswerScene.h"

// Password reset with a verification code.
class QXModifyPasswordScene : public QXAccountAnswerScene {
public:
    QString account, code, password;

    QString requestURL() override;
    QString httpMethod() const override { return QStringLiteral("POST"); }
};
