#pragma once

#include "QXNetBaseScene.h"

// The device profile of the stored device. The scene fills itself from the
// application state when created and again when its URL is built; building the URL
// consumes the one-shot "force a fresh profile" flag.
class QXGetCustomerKeyScene : public QXNetBaseScene {
public:
    QXGetCustomerKeyScene();

    QString productCode, languageCode, sn, modelId, mac, firmwareVersion;
    QString forceUpdate = QStringLiteral("0");

    QString requestURL() override;

private:
    void fillFromState();
};
