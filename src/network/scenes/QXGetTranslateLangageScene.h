#pragma once

#include "QXNetBaseScene.h"

// The translation languages; devices sold outside the home region ask for theirs.
class QXGetTranslateLangageScene : public QXNetBaseScene {
public:
    QString requestURL() override;
};
