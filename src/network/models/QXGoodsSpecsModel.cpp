#include "QXGoodsSpecsModel.h"

#include "PZDictionary.h"

QXGoodsSpecsModel QXGoodsSpecsModel::fromJson(const QJsonObject &o)
{
    auto text = [&o](const char *key) { return pz::stringValueForKey(o, QLatin1String(key), QString()); };
    QXGoodsSpecsModel m;
    m.unit = text("unit");
    m.createTime = text("createTime");
    m.goodsId = text("goodsId");
    m.price = text("price");
    m.num = text("num");
    m.name = text("name");
    m.remark = text("remark");
    m.idStr = text("id");
    m.goodsName = text("goodsName");
    m.priceShow = text("priceShow");
    m.status = text("status");
    return m;
}
