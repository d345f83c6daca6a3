#pragma once

#include "QXNetBaseScene.h"

// Whether a channel may upload mouse data.
class QXCanUploadMouseScene : public QXNetBaseScene {
public:
    QString channel;

    QString requestURL() override;
};
