#pragma once

#include "QXNetBaseScene.h"

// Baidu OAuth token; the caller sets the credentials as parameters. There is no
// code field: an answer without "access_token" is a failure.
class QXBaiduAccessNetScene : public QXNetBaseScene {
public:
    QString requestURL() override;
    QXStringMap requestHeader() const override;
    QString resultCodeParsingField() const override { return QString(); }
    QString resultMessageParsingField() const override { return QString(); }
    QString resultDataOneFloorParsingField() const override { return QStringLiteral("access_token"); }
    bool resultDataRequired() const override { return true; }
};
