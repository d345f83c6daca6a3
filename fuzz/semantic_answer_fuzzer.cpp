// Feeds arbitrary "dm" answers to the semantic answer's reader.
#include "QXSemanticManager.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QJsonObject dm = doc.object();
    const QXSemanticAnswer answer = qxReadSemanticAnswer(dm);
    if (answer.sentence.isEmpty() && dm.isEmpty())
        __builtin_trap(); // an empty answer gets the fallback sentence
    if (answer.link && !dm.value(QStringLiteral("widget")).isObject())
        __builtin_trap(); // a link only comes from the widget's content
    return 0;
}
