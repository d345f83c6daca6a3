#pragma once

#include "QXNetBaseScene.h"

// Product image of the stored product in the interface language.
class QXProductImageScene : public QXNetBaseScene {
public:
    QString productCode, languageCode;

    QString requestURL() override;
};
