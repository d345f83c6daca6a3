#pragma once

#include "QXNetBaseScene.h"

// iFlytek web speech recognition; the caller sets the body.
class QXiFlyAsrNetScene : public QXNetBaseScene {
public:
    QString requestURL() override;
    QString httpMethod() const override { return QStringLiteral("POST"); }
    QString resultCodeParsingField() const override { return QStringLiteral("code"); }
    QString resultMessageParsingField() const override { return QStringLiteral("desc"); }
};
