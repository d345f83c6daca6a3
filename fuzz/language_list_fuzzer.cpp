// The server's language lists (device profile) go through the language manager:
// any JSON must leave every reader with a defined answer.
#include "KeyValueStore.h"
#include "QXLanguageManager.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QJsonArray list = doc.isArray() ? doc.array() : QJsonArray{doc.object()};

    MemoryKeyValueStore store;
    QXLanguageManager languages(store);
    languages.setAsrLanguageType(size % 3);
    languages.setAudioLanguageArr(list);
    languages.setToLanguageArr(list);
    languages.setScreenshotsTranslateFromLanguageArray(list);
    for (quint64 i = 0; i < 4; ++i) {
        languages.setUiLanguageIndex((size + i * 7) % 20);
        languages.setAudioLanguageIndex(i);
        languages.setFromWordInputTag(i);
        languages.setScreenshotsFromTag(i);
        languages.readAudioLanguageCode();
        languages.readFromHyperTranslateLanguageCode();
        languages.readToScreenshotsTranslateFromLanguageCode();
        languages.readToLanguageNameList();
        languages.readScreenshotsFromNameList();
        languages.readUILanguageCode();
    }
    for (const QJsonValue &item : list)
        QXLanguageManager::indexForLanguageCode(QXLanguageManager::codeOfItem(item), list);
    // A relaunch over what the lists left in the store.
    QXLanguageManager again(store);
    again.setAsrLanguageType(1);
    again.readToLanguageCode();
    return 0;
}
