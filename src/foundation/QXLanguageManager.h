#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QRecursiveMutex>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <optional>

class KeyValueStore;

// Every language choice of the application: interface, speech, the three translation
// pairs (voice, word input, screenshot) and the search engine. Each choice is an index
// stored in the preferences; the speech and translation choices are also stored as
// language codes so a choice can be found again when the server replaces a list.
//
// Language items are JSON objects ("code" plus display names under "name", "nameTw",
// "nameEn", ...). The lists come from the server's device profile and are untrusted:
// an item that is not an object, or whose "code" is not a string, counts as having no
// code.
//
// Every public method may be called from any thread (the speech service reads codes
// from its own queue); the state is guarded by one lock.
class QXLanguageManager {
public:
    // What the lookups return when nothing matches (the largest signed 64-bit value).
    static constexpr quint64 kNotFound = quint64(INT64_MAX);
    static constexpr int kUiLanguageCount = 18;

    // The process-wide instance, which the composition root constructed and installed.
    static QXLanguageManager &sharedInstance();
    static QXLanguageManager *setSharedInstance(QXLanguageManager *instance); // returns the previous one

    explicit QXLanguageManager(KeyValueStore &store);
    QXLanguageManager(const QXLanguageManager &) = delete;
    QXLanguageManager &operator=(const QXLanguageManager &) = delete;

    // Launch: loads the interface, speech and voice-translation indices and applies the
    // stored codes to the lists.
    void setAsrLanguageType(qint64 type);
    qint64 asrLanguageType() const;
    // Rebuilds the localised interface-language and search-engine names.
    void shouldRefreshData();

    // --- lists ---
    QJsonArray audioLanguageArr();
    QJsonArray toLanguageArr();
    void setAudioLanguageArr(const QJsonArray &items);
    void setToLanguageArr(const QJsonArray &items);
    QJsonArray screenshotsTranslateFromLanguageArray() const;
    void setScreenshotsTranslateFromLanguageArray(const QJsonArray &items);
    QJsonArray hyperTranslateFromLanguageArray() { return toLanguageArr(); }
    QJsonArray hyperTranslateLanguageArray() { return toLanguageArr(); }
    QJsonArray screenshotsTranslateLanguageArray() { return toLanguageArr(); }
    QStringList uiTitleLanguageArray();
    QStringList searchEngineArray();
    QStringList microsoftLanguageArray() const;

    // --- indices ---
    quint64 uiLanguageIndex() const { return m_uiLanguageIndex.load(); }
    quint64 audioLanguageIndex();
    quint64 translateFromLanguageIndex();
    quint64 toLanguageIndex() const;
    quint64 fromWordInputTag() const;
    quint64 wordInputTag() const;
    quint64 screenshotsFromTag() const;
    quint64 screenshotsTag() const;
    quint64 searchEngineTag() const;
    quint64 copyCmdIndex() const;

    void setUiLanguageIndex(quint64 index);
    void setAudioLanguageIndex(quint64 index);
    void setTranslateFromLanguageIndex(quint64 index);
    void setToLanguageIndex(quint64 index);
    void setFromWordInputTag(quint64 tag);
    void setWordInputTag(quint64 tag);
    void setScreenshotsFromTag(quint64 tag);
    void setScreenshotsTag(quint64 tag);
    void setSearchEngineTag(quint64 tag);
    void setCopyCmdIndex(quint64 index);

    // --- codes of the chosen items ("ZH_CN" when the index is out of range) ---
    QString readAudioLanguageCode();
    QString readTranslateFromLanguageCode();
    QString readToLanguageCode();
    QString readFromHyperTranslateLanguageCode();
    QString readToHyperTranslateLanguageCode();
    QString readToScreenshotsTranslateFromLanguageCode();
    QString readToScreenshotsTranslateLanguageCode();
    // An index of 18 or more (an older store) is reset to 0 and stored.
    QString readUILanguageCode();

    // --- display names for the pages' menus ---
    QStringList readUiLanguageNameList();
    QStringList readAudioLanguageNameList();
    QStringList readToLanguageNameList();
    QStringList readWordInputNameList();
    QStringList readScreenshotsNameList();
    QStringList readFromWordInputNameList();
    QStringList readToLanguageFromNameList();
    QStringList readScreenshotsFromNameList();
    QStringList readSearchEngineNameList();

    // --- lookups ---
    static QStringList languageDisplayNameKeys();
    static std::optional<QString> nonEmptyName(const QJsonValue &value);
    // The "code" of an item, or "" when it has none.
    static QString codeOfItem(const QJsonValue &item);
    static quint64 indexForLanguageCode(const QString &code, const QJsonArray &list);
    static std::optional<QJsonObject> languageItemMatchingCode(const QString &code, const QJsonArray &list);
    QString displayNameForLanguageItem(const QJsonValue &item);

    // Interface-language table by index (empty beyond it).
    static QString uiLanguageCode(quint64 index);
    static QString uiLanguageTitle(quint64 index);

    // --- translator code conversions ---
    static QString convertTranslateCodeWithFromLanguageCode(const QString &code);
    quint64 convertTranslateIndexWithFromLanguageCode(const QString &code);
    static bool isSameLanguageFromLanguageCode(const QString &fromCode, const QString &toCode);

    static QJsonArray builtInLanguageList();

    // Stored code defaults and the one-time Chinese-to-English migrations.
    void ensureTranslationLanguageCodeDefaults();
    // Finds every choice again in the current lists by its stored code.
    void applyTranslationLanguageIndicesFromStoredCodes();

private:
    QJsonArray audioListLocked();
    QJsonArray toListLocked();
    QString storedCode(const QString &key, const QString &fallback) const;
    void storeIndexAndCode(quint64 &field, quint64 value, const QString &indexKey, const QJsonArray &list,
                           quint64 position, const QString &codeKey);
    QStringList namesOf(const QJsonArray &list);
    QString localized(const QString &key) const;

    KeyValueStore &m_store;
    mutable QRecursiveMutex m_mutex;

    qint64 m_asrLanguageType = 0;
    std::atomic<quint64> m_uiLanguageIndex{0};
    quint64 m_searchEngineTag = 0;
    quint64 m_audioLanguageIndex = 0;
    quint64 m_translateFromLanguageIndex = 0;
    quint64 m_toLanguageIndex = 0;
    quint64 m_fromWordInputTag = 0;
    quint64 m_wordInputTag = 0;
    quint64 m_screenshotsFromTag = 0;
    quint64 m_screenshotsTag = 0;
    quint64 m_copyCmdIndex = 0;

    QJsonArray m_audioLanguageArr;
    QJsonArray m_toLanguageArr;
    QJsonArray m_screenshotsTranslateFromLanguageArray;
    std::optional<QStringList> m_uiTitleLanguageArray;
    std::optional<QStringList> m_searchEngineArray;
    QStringList m_microsoftLanguageArray;
};
