// The server's device profile (and the keys stored from it) decoded into the key
// models, encoded again and decoded once more: nothing may crash, and the second
// decode must give the same tree.
#include "MouseModelSettingModel.h"

#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (doc.isObject()) {
        const MouseModelSettingModel model = MouseModelSettingModel::fromJson(doc.object());
        for (const MouseSettingModel &key : model.keyInfos()) {
            (void)key.name();
            (void)key.keyType();
            for (const KeySettingModel &press : key.childs()) {
                (void)press.selectKey();
                (void)press.keyPressType();
                for (const KeySettingSubModel &option : press.childs())
                    (void)option.operationType();
            }
        }
        if (!(MouseModelSettingModel::fromJson(model.toJson()) == model))
            std::abort();
    } else if (doc.isArray()) {
        const QList<MouseSettingModel> keys = MouseSettingModel::listFromJson(doc.array());
        if (!(MouseSettingModel::listFromJson(MouseSettingModel::listToJson(keys)) == keys))
            std::abort();
    }
    return 0;
}
