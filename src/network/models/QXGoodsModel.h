#pragma once

#include "QXGoodsSpecsModel.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// A goods entry with its specifications (empty, never missing, when the answer has
// none). `idStr` is the JSON "id".
struct QXGoodsModel {
    QString alipa, createTime, name, wechat, remark, idStr, type, status;
    QList<QXGoodsSpecsModel> goodsSpecs;

    // Elements of "goodsSpecs" that are not objects are skipped.
    static QXGoodsModel fromJson(const QJsonObject &object);
};
