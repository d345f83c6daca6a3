#include "QXGoodsModel.h"

#include "PZDictionary.h"

#include <QJsonArray>

QXGoodsModel QXGoodsModel::fromJson(const QJsonObject &o)
{
    auto text = [&o](const char *key) { return pz::stringValueForKey(o, QLatin1String(key), QString()); };
    QXGoodsModel m;
    m.alipa = text("alipa");
    m.createTime = text("createTime");
    m.name = text("name");
    m.wechat = text("wechat");
    m.remark = text("remark");
    m.idStr = text("id");
    m.type = text("type");
    m.status = text("status");
    const QJsonArray specs = o.value(QLatin1String("goodsSpecs")).toArray();
    for (const QJsonValue &spec : specs)
        if (spec.isObject())
            m.goodsSpecs.append(QXGoodsSpecsModel::fromJson(spec.toObject()));
    return m;
}
