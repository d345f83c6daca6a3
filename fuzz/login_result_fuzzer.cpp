// The data value of a login, registration or member-information answer as the account
// pages read it: any JSON gives no record or a record of texts, each without exponent.
#include "services/QXLoginResultModel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QJsonValue answer = doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
    const std::optional<QXLoginResultModel> record = QXLoginResultModel::fromJson(answer);
    if (record.has_value() != answer.isObject())
        __builtin_trap();
    if (!record)
        return 0;
    const std::optional<QString> raw = record->rawExpiredTime();
    const std::optional<QString> cut = record->expiredTime();
    if (raw.has_value() != cut.has_value())
        __builtin_trap();
    if (raw && (raw->size() >= 13 ? *cut != raw->left(10) : *cut != *raw))
        __builtin_trap();
    // A number reads as plain decimal text that gives the same number back.
    const QJsonValue id = answer.toObject().value(QStringLiteral("id"));
    if (id.isDouble()
        && (!record->idStr || record->idStr->contains(u'e') || record->idStr->contains(u'E')
            || record->idStr->toDouble() != id.toDouble()))
        __builtin_trap();
    return 0;
}
