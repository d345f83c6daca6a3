#pragma once

#include "QXNetBaseScene.h"

// Creates a custom command; the caller sets the parameters (the client fields plus
// "customName", "customCmd", "cmdType").
class QXAddCommandScene : public QXNetBaseScene {
public:
    QString requestURL() override;
};
