#pragma once

#include "QXNetBaseScene.h"

// The language list of the second API host (`productCode` is kept, not sent).
class QXLanguageScene : public QXNetBaseScene {
public:
    QString productCode;

    QString requestURL() override;
};
