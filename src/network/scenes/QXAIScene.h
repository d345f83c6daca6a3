#pragma once

#include "QXNetBaseScene.h"

// A one-shot AI prompt (a POST without body, so only the query travels).
class QXAIScene : public QXNetBaseScene {
public:
    QString prompt;

    QString requestURL() override;
    QString httpMethod() const override { return QStringLiteral("POST"); }
    qint64 timeOutInterval() const override { return 60; }
};
