#pragma once

#include <QJsonObject>
#include <QString>

// One purchasable specification of a goods entry. `idStr` is the JSON "id";
// `isSelected` is the recharge row's local selection, not part of the answer.
struct QXGoodsSpecsModel {
    bool isSelected = false;
    QString unit, createTime, goodsId, price, num, name, remark, idStr, goodsName, priceShow, status;

    static QXGoodsSpecsModel fromJson(const QJsonObject &object);
};
