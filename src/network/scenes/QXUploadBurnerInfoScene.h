#pragma once

#include "QXNetBaseScene.h"

// Reports the device's firmware to the server (about-the-device page).
class QXUploadBurnerInfoScene : public QXNetBaseScene {
public:
    QString channel, firmwareVersion, softVersion;

    QString requestURL() override;
};
