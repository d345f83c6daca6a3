#pragma once

#include "QXNetBaseScene.h"

// Scenes of the maker's account service: code "statusCode", success 200, message
// "message".
class QXAccountAnswerScene : public QXNetBaseScene {
public:
    QString resultCodeParsingField() const override { return QStringLiteral("statusCode"); }
    qint64 resultSuccessCode() const override { return 200; }
    QString resultMessageParsingField() const override { return QStringLiteral("message"); }
};
