#pragma once

#include "QXAccountAnswerScene.h"

// Account login. The serial number is the stored device's.
class QXLoginScene : public QXAccountAnswerScene {
public:
    QString account, password;

    QString requestURL() override;
    QString httpMethod() const override { return QStringLiteral("POST"); }
};
