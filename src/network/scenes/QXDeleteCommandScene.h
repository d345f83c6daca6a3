#pragma once

#include "QXNetBaseScene.h"

// Deletes a custom command; the caller sets the parameters (the client fields plus
// "customCmd").
class QXDeleteCommandScene : public QXNetBaseScene {
public:
    QString requestURL() override;
};
