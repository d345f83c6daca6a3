#pragma once

#include "QXNetBaseScene.h"

// The custom command list of the stored device. The serial travels in the query,
// so no default fields are sent; the whole answer is the result.
class QXCustomInstructionScene : public QXNetBaseScene {
public:
    QString requestURL() override;
    QXStringMap requestParameters() const override { return {}; }
    qint64 resultBackType() const override { return 1; }
};
