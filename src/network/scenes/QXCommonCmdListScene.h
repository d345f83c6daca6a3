#pragma once

#include "QXNetBaseScene.h"

// The server's common command list (a POST without body); the whole answer is the
// result.
class QXCommonCmdListScene : public QXNetBaseScene {
public:
    QString requestURL() override;
    QString httpMethod() const override { return QStringLiteral("POST"); }
    qint64 resultBackType() const override { return 1; }
};
