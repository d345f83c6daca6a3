#pragma once

#include "QXNetBaseScene.h"

// Microsoft Translator v3. The caller sets the body, a JSON array of {"Text": ...};
// the answer gives the first translation's text. An empty target falls back to
// the stored translation target.
class QXMicrosoftTransNetScene : public QXNetBaseScene {
public:
    QString fromLanguageCode, toLanguageCode;

    QString requestURL() override;
    QString httpMethod() const override { return QStringLiteral("POST"); }
    QXStringMap requestHeader() const override;
    qint64 resultBackType() const override { return 3; }

    static QString subscriptionKey() { return QStringLiteral("5e0a9c3f71d84b26a8f4c90d2e7b1a63"); }
    static QString clientTraceId() { return QStringLiteral("d27f0b8c64e1493a9c5e7a1b3f08d6e2"); }
};
