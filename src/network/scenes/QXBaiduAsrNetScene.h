#pragma once

#include "QXNetBaseScene.h"

// Baidu short speech recognition of 16 kHz PCM set as the body; `myRequestURL`
// replaces the default address when set.
class QXBaiduAsrNetScene : public QXNetBaseScene {
public:
    QString myRequestURL;

    QString requestURL() override;
    QString httpMethod() const override { return QStringLiteral("POST"); }
    QXStringMap requestHeader() const override;
    QString resultCodeParsingField() const override { return QStringLiteral("err_no"); }
    QString resultMessageParsingField() const override { return QStringLiteral("err_msg"); }
    QString resultDataOneFloorParsingField() const override { return QStringLiteral("result"); }
};
