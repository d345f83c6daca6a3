#include "QXGoodsSpecsModel.h"

#include "QXAnswerReader.h"

QXGoodsSpecsModel QXGoodsSpecsModel::fromJson(const QJsonObject &o)
{
    auto text = [&o](const char *key) { return qxMessageText(o.value(QLatin1String(key))); };
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
