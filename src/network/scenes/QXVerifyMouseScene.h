#pragma once

#include "QXNetBaseScene.h"

// Checks that a mouse is genuine; the caller sets "vid", "pid", "sn", "channel",
// "cpusn" and "version".
class QXVerifyMouseScene : public QXNetBaseScene {
public:
    QString requestURL() override;
};
