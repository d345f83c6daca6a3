#pragma once

#include "QXAccountAnswerScene.h"

// Asks for a verification code; `accountType` "PHONE" or "EMAIL", `codeType` "REGISTER" or "RESET".
class QXGetVerifyCodeScene : public QXAccountAnswerScene {
public:
    QString account, accountType, codeType, country;

    QString requestURL() override;
    QString httpMethod() const override { return QStringLiteral("POST"); }
};
