#include "QXOTAModel.h"

#include "PZDictionary.h"

QXOTAModel QXOTAModel::fromJson(const QJsonObject &o)
{
    auto text = [&o](const char *key) { return pz::stringValueForKey(o, QLatin1String(key), QString()); };
    QXOTAModel m;
    m.showNum = text("showNum");
    m.num = text("num");
    m.downloadUrl = text("downloadUrl");
    m.remark = text("remark");
    m.attr1 = text("attr1");
    m.attr2 = text("attr2");
    m.type = text("type");
    m.planCode = text("planCode");
    return m;
}
