#pragma once

#include "QXNetBaseScene.h"

// Translation of a text by the maker's service; an empty source language is "auto".
class QXTranslateScene : public QXNetBaseScene {
public:
    QString fromLanguage, toLanguage, text;

    QString requestURL() override;
};
