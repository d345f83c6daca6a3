// Feeds arbitrary bytes to the kit's readers of outside text: hex, Base64, percent
// decoding, JSON text and the typed getters over whatever JSON comes out.
#include "PZDictionary.h"
#include "PZString.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void readAll(const QJsonValue &value)
{
    (void)pz::boolValue(value, true);
    (void)pz::charValue(value, 1);
    (void)pz::unsignedCharValue(value, 1);
    (void)pz::shortValue(value, 1);
    (void)pz::unsignedShortValue(value, 1);
    (void)pz::intValue(value, 1);
    (void)pz::unsignedIntValue(value, 1);
    (void)pz::longLongValue(value, 1);
    (void)pz::unsignedLongLongValue(value, 1);
    (void)pz::floatValue(value, 1);
    (void)pz::doubleValue(value, 1);
    (void)pz::stringValue(value, QStringLiteral("d"));
    // Containers and null always give the default.
    if (value.isArray() || value.isObject() || value.isNull() || value.isUndefined())
        check(pz::intValue(value, 7) == 7);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);

    // Hex: whatever decodes must encode back to the same digits (after the leading
    // single digit of an odd length is widened to two).
    if (const auto decoded = pz::convertHexStrToData(text)) {
        const QString again = pz::convertDataToHexStr(*decoded);
        check(again.size() == decoded->size() * 2);
        const bool hasSpace = std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x21; });
        if (!hasSpace)
            check(again == (text.size() % 2 ? QStringLiteral("0") : QString()) + text.toLower());
    }
    (void)pz::numberWithHexString(text);

    // Base64 decoding is strict; encoding always decodes back.
    (void)pz::qx_base64DecodeString(text);
    check(pz::qx_base64DecodeString(pz::qx_base64EncodeString(text)) == text);

    // Percent decoding, and the encoder's output always decodes back.
    (void)pz::URLDecodedStringWithEncodedStr(text);
    check(pz::URLDecodedStringWithEncodedStr(pz::urlEncodeStr(text)) == text);

    (void)pz::deleteCharacters(text);
    (void)pz::numberFromText(text);

    // JSON text and the getters over every member and element.
    if (const auto json = pz::dictionaryWithJsonString(text)) {
        readAll(*json);
        if (json->isObject()) {
            const QJsonObject object = json->toObject();
            for (auto it = object.begin(); it != object.end(); ++it) {
                readAll(it.value());
                (void)pz::intValueForKey(object, it.key(), 0);
                (void)pz::stringValueForKey(object, it.key(), QString());
            }
            (void)pz::jsonStringEncoded(object);
        } else {
            for (const QJsonValue &element : json->toArray())
                readAll(element);
        }
        (void)pz::convertToJsonData(*json);
    }
    readAll(QJsonValue(text));
    return 0;
}
