#pragma once

#include "QXNetBaseScene.h"

// An outside semantic analysis service; the answer gives the first value of the
// first semantic slot.
class QXSemanticAnalysisScene : public QXNetBaseScene {
public:
    QString requestURL() override;
    qint64 resultBackType() const override { return 4; }
};
