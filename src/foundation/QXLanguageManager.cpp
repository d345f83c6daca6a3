#include "QXLanguageManager.h"

#include <utility>

#include "HRVLocalizedString.h"
#include "InstalledInstance.h"
#include "KeyValueStore.h"

#include <QMutexLocker>

#include <array>

namespace {

// Preference keys.
const QString kUiLanguageIndexKey = QStringLiteral("uiLanguageIndexKey");
const QString kAudioLanguageIndexKey = QStringLiteral("audioLanguageIndexKey");
const QString kTranslateFromLanguageIndexKey = QStringLiteral("translateFromLanguageIndexKey");
const QString kToLanguageIndexKey = QStringLiteral("toLanguageIndexKey");
const QString kSearchEngineKey = QStringLiteral("QX_Search_Engine_Key");
const QString kFromWordInputKey = QStringLiteral("QX_From_Word_Input_Key");
const QString kWordInputKey = QStringLiteral("QX_Word_Input_Key");
const QString kScreenshotsFromTagKey = QStringLiteral("QX_ScreenshotsFromTag_Key");
const QString kScreenshotsTagKey = QStringLiteral("QX_ScreenshotsTag_Key");
const QString kCopyCmdIndexKey = QStringLiteral("copyCmdIndexKey");
const QString kAudioCodeKey = QStringLiteral("audioLanguageCodeKey");
const QString kTranslateFromCodeKey = QStringLiteral("translateFromLanguageCodeKey");
const QString kToCodeKey = QStringLiteral("toLanguageCodeKey");
const QString kFromWordInputCodeKey = QStringLiteral("fromWordInputLanguageCodeKey");
const QString kWordInputCodeKey = QStringLiteral("wordInputLanguageCodeKey");
const QString kScreenshotsFromCodeKey = QStringLiteral("screenshotsFromLanguageCodeKey");
const QString kScreenshotsToCodeKey = QStringLiteral("screenshotsToLanguageCodeKey");
const QString kAudioLanguageArrKey = QStringLiteral("audioLanguageArrKey");
const QString kToLanguageArrKey = QStringLiteral("toLanguageArrKey");
const QString kMigratedV2Key = QStringLiteral("QXTranslationLanguageCodeDefaultsMigratedKey_v2");
const QString kZhToEnV3Key = QStringLiteral("QXTranslationPairsDefaultZhToEnKey_v3");

const QString kZhCn = QStringLiteral("ZH_CN");
const QString kEnUs = QStringLiteral("EN_US");
const QString kAuto = QStringLiteral("auto");

struct UiLanguage {
    const char *code;
    const char *nameKey;
    const char *title; // source text, localised when shown
};

constexpr std::array<UiLanguage, QXLanguageManager::kUiLanguageCount> kUiLanguages{{
    {"ZH_CN", "name", "简体中文"},
    {"ZH_TW", "nameTw", "繁体中文"},
    {"EN_US", "nameEn", "英语"},
    {"JA_JP", "nameJp", "日语"},
    {"VI_VN", "nameVi_vn", "越南语"},
    {"RU_RU", "nameRu_ru", "俄罗斯语"},
    {"AR_EG", "nameAr_sa", "阿拉伯语"},
    {"DE_DE", "nameDe_de", "德语"},
    {"ES_ES", "nameEs_es", "西班牙语"},
    {"FR_FR", "nameFr_fr", "法语"},
    {"ID_ID", "nameId_id", "印尼语"},
    {"IT_IT", "nameIt_it", "意大利语"},
    {"KO_KR", "nameKo_kr", "韩语"},
    {"TR_TR", "nameTr_tr", "土耳其语"},
    {"TH_TH", "nameTh_th", "泰语"},
    {"FIL_PH", "nameFil_ph", "菲律宾语"},
    {"MAY_MAY", "nameMay_may", "马来语"},
    {"BG_BG", "nameBg_bg", "保加利亚语"},
}};

struct BuiltInLanguage {
    const char *code;
    const char *name;
    const char *nameTw;
    const char *nameEn;
    const char *nameJp;
};

constexpr std::array<BuiltInLanguage, 6> kBuiltInLanguages{{
    {"ZH_CN", "中文简体", "中文簡體", "Chinese (Simplified)", "中国語簡体"},
    {"KO_KR", "韩语", "韓語", "Korean", "韓国語"},
    {"ZH_TW", "中文繁体", "中文繁體", "Chinese (Taiwan)", "中国語繁体"},
    {"ZH_SC", "四川话", "四川話", "Sichuan Dialect (Sichuan, China)", "四川方言"},
    {"ZH_GD", "粤语", "粵語", "Cantonese (China)", "広東語"},
    {"EN_US", "英语（美国）", "英語（美國）", "English (United States)", "英語（米国）"},
}};

constexpr std::array<const char *, 3> kSearchEngines{{"百度", "谷歌", "雅虎"}};

// "fil" appears twice; positions are what convertTranslateIndex returns, so keep them.
constexpr std::array<const char *, 64> kMicrosoftLanguages{{
    "zh-Hans", "zh-Hant", "en",  "ar",       "et", "bg", "pl", "da",  "de", "ru", "fr", "fil", "ko",
    "nl",      "cs",      "pt",  "ja",       "sv", "sl", "th", "es",  "el", "hu", "it", "vi",  "yue",
    "ro",      "af",      "bn",  "bs",       "ca", "hr", "fj", "fil", "ht", "he", "hi", "mww", "is",
    "id",      "sw",      "tlh", "tlh-Qaak", "lv", "lt", "mg", "ms",  "mt", "nb", "fa", "otq", "sm",
    "sr-Cyrl", "sr-Latn", "sk",  "ty",       "ta", "te", "to", "tr",  "uk", "ur", "cy", "yua",
}};

// A stored index that is not a number reads as 0; a negative one becomes out of range,
// which the getters and readers already handle.
quint64 readIndex(const KeyValueStore &store, const QString &key, quint64 fallback = 0)
{
    if (!store.contains(key))
        return fallback;
    return static_cast<quint64>(store.intValue(key));
}

QString codeAt(const QJsonArray &list, quint64 index)
{
    if (index >= quint64(list.size()))
        return kZhCn;
    const QString code = QXLanguageManager::codeOfItem(list.at(qsizetype(index)));
    // An item without a code is server data gone wrong; callers need a usable code.
    return code.isEmpty() ? kZhCn : code;
}

} // namespace

QXLanguageManager &QXLanguageManager::sharedInstance()
{
    return InstalledInstance<QXLanguageManager>::get("QXLanguageManager");
}

QXLanguageManager *QXLanguageManager::setSharedInstance(QXLanguageManager *instance)
{
    return InstalledInstance<QXLanguageManager>::install(instance);
}

QXLanguageManager::QXLanguageManager(KeyValueStore &store) : m_store(store)
{
    m_searchEngineTag = readIndex(m_store, kSearchEngineKey);
    m_fromWordInputTag = readIndex(m_store, kFromWordInputKey);
    m_wordInputTag = readIndex(m_store, kWordInputKey);
    m_screenshotsFromTag = readIndex(m_store, kScreenshotsFromTagKey);
    m_screenshotsTag = readIndex(m_store, kScreenshotsTagKey);
    ensureTranslationLanguageCodeDefaults();
    m_copyCmdIndex = readIndex(m_store, kCopyCmdIndexKey);
    for (const char *code : kMicrosoftLanguages)
        m_microsoftLanguageArray << QString::fromLatin1(code);
}

void QXLanguageManager::setAsrLanguageType(qint64 type)
{
    QMutexLocker lock(&m_mutex);
    m_asrLanguageType = type;
    m_uiLanguageIndex = readIndex(m_store, kUiLanguageIndexKey);
    ensureTranslationLanguageCodeDefaults();
    m_audioLanguageIndex = readIndex(m_store, kAudioLanguageIndexKey, m_audioLanguageIndex);
    m_translateFromLanguageIndex = readIndex(m_store, kTranslateFromLanguageIndexKey, m_translateFromLanguageIndex);
    if (m_store.contains(kToLanguageIndexKey))
        m_toLanguageIndex = readIndex(m_store, kToLanguageIndexKey);
    else if (type >= 2)
        m_toLanguageIndex = 3;
    if (!audioListLocked().isEmpty() || !toListLocked().isEmpty())
        applyTranslationLanguageIndicesFromStoredCodes();
}

qint64 QXLanguageManager::asrLanguageType() const
{
    QMutexLocker lock(&m_mutex);
    return m_asrLanguageType;
}

void QXLanguageManager::shouldRefreshData()
{
    QMutexLocker lock(&m_mutex);
    m_uiTitleLanguageArray.reset();
    m_searchEngineArray.reset();
    uiTitleLanguageArray();
    searchEngineArray();
}

// --- lists -------------------------------------------------------------------

QJsonArray QXLanguageManager::builtInLanguageList()
{
    QJsonArray list;
    for (const BuiltInLanguage &l : kBuiltInLanguages) {
        list.append(QJsonObject{
            {"code", QString::fromUtf8(l.code)},
            {"name", QString::fromUtf8(l.name)},
            {"nameTw", QString::fromUtf8(l.nameTw)},
            {"nameEn", QString::fromUtf8(l.nameEn)},
            {"nameJp", QString::fromUtf8(l.nameJp)},
        });
    }
    return list;
}

QJsonArray QXLanguageManager::audioListLocked()
{
    if (m_audioLanguageArr.isEmpty()) {
        m_audioLanguageArr = m_store.jsonArray(kAudioLanguageArrKey);
        if (m_audioLanguageArr.isEmpty())
            m_audioLanguageArr = builtInLanguageList();
    }
    return m_audioLanguageArr;
}

QJsonArray QXLanguageManager::toListLocked()
{
    if (m_toLanguageArr.isEmpty()) {
        m_toLanguageArr = m_store.jsonArray(kToLanguageArrKey);
        if (m_toLanguageArr.isEmpty())
            m_toLanguageArr = builtInLanguageList();
    }
    return m_toLanguageArr;
}

QJsonArray QXLanguageManager::audioLanguageArr()
{
    QMutexLocker lock(&m_mutex);
    return audioListLocked();
}

QJsonArray QXLanguageManager::toLanguageArr()
{
    QMutexLocker lock(&m_mutex);
    return toListLocked();
}

void QXLanguageManager::setAudioLanguageArr(const QJsonArray &items)
{
    QMutexLocker lock(&m_mutex);
    m_audioLanguageArr = items;
    m_store.setJson(kAudioLanguageArrKey, items);
    m_store.sync();
    applyTranslationLanguageIndicesFromStoredCodes();
}

void QXLanguageManager::setToLanguageArr(const QJsonArray &items)
{
    QMutexLocker lock(&m_mutex);
    m_toLanguageArr = items;
    m_store.setJson(kToLanguageArrKey, items);
    m_store.sync();
    applyTranslationLanguageIndicesFromStoredCodes();
}

QJsonArray QXLanguageManager::screenshotsTranslateFromLanguageArray() const
{
    QMutexLocker lock(&m_mutex);
    return m_screenshotsTranslateFromLanguageArray;
}

void QXLanguageManager::setScreenshotsTranslateFromLanguageArray(const QJsonArray &items)
{
    QMutexLocker lock(&m_mutex);
    m_screenshotsTranslateFromLanguageArray = items;
    applyTranslationLanguageIndicesFromStoredCodes();
}

QStringList QXLanguageManager::uiTitleLanguageArray()
{
    QMutexLocker lock(&m_mutex);
    if (!m_uiTitleLanguageArray) {
        QStringList titles;
        for (const UiLanguage &l : kUiLanguages)
            titles << localized(QString::fromUtf8(l.title));
        m_uiTitleLanguageArray = titles;
    }
    return *m_uiTitleLanguageArray;
}

QStringList QXLanguageManager::searchEngineArray()
{
    QMutexLocker lock(&m_mutex);
    if (!m_searchEngineArray) {
        QStringList names;
        for (const char *engine : kSearchEngines)
            names << localized(QString::fromUtf8(engine));
        m_searchEngineArray = names;
    }
    return *m_searchEngineArray;
}

QStringList QXLanguageManager::microsoftLanguageArray() const
{
    return m_microsoftLanguageArray; // built once by the constructor, never changed
}

QString QXLanguageManager::localized(const QString &key) const
{
    // Our own index, not the shared instance's: a manager over another store (a test,
    // a relaunch) titles in its own language.
    return HRVLocalizedString::localizedString(key, m_uiLanguageIndex.load());
}

// --- indices -------------------------------------------------------------------

quint64 QXLanguageManager::audioLanguageIndex()
{
    QMutexLocker lock(&m_mutex);
    if (m_audioLanguageIndex >= quint64(audioListLocked().size()))
        m_audioLanguageIndex = 0;
    return m_audioLanguageIndex;
}

quint64 QXLanguageManager::translateFromLanguageIndex()
{
    QMutexLocker lock(&m_mutex);
    if (m_translateFromLanguageIndex >= quint64(audioListLocked().size()))
        m_translateFromLanguageIndex = 0;
    return m_translateFromLanguageIndex;
}

#define QX_PLAIN_GETTER(name, field)                                                                                   \
    quint64 QXLanguageManager::name() const                                                                            \
    {                                                                                                                  \
        QMutexLocker lock(&m_mutex);                                                                                   \
        return field;                                                                                                  \
    }
QX_PLAIN_GETTER(toLanguageIndex, m_toLanguageIndex)
QX_PLAIN_GETTER(fromWordInputTag, m_fromWordInputTag)
QX_PLAIN_GETTER(wordInputTag, m_wordInputTag)
QX_PLAIN_GETTER(screenshotsFromTag, m_screenshotsFromTag)
QX_PLAIN_GETTER(screenshotsTag, m_screenshotsTag)
QX_PLAIN_GETTER(searchEngineTag, m_searchEngineTag)
QX_PLAIN_GETTER(copyCmdIndex, m_copyCmdIndex)
#undef QX_PLAIN_GETTER

void QXLanguageManager::storeIndexAndCode(quint64 &field, quint64 value, const QString &indexKey,
                                          const QJsonArray &list, quint64 position, const QString &codeKey)
{
    if (value == field)
        return;
    field = value;
    m_store.setValue(indexKey, QVariant::fromValue<qulonglong>(value));
    if (!codeKey.isEmpty() && position < quint64(list.size())) {
        const QString code = codeOfItem(list.at(qsizetype(position)));
        if (!code.isEmpty())
            m_store.setValue(codeKey, code);
    }
    m_store.sync();
}

void QXLanguageManager::setUiLanguageIndex(quint64 index)
{
    QMutexLocker lock(&m_mutex);
    if (index == m_uiLanguageIndex.load())
        return;
    m_uiLanguageIndex = index;
    m_store.setValue(kUiLanguageIndexKey, QVariant::fromValue<qulonglong>(index));
    m_store.sync();
}

void QXLanguageManager::setAudioLanguageIndex(quint64 index)
{
    QMutexLocker lock(&m_mutex);
    storeIndexAndCode(m_audioLanguageIndex, index, kAudioLanguageIndexKey, audioListLocked(), index, kAudioCodeKey);
}

void QXLanguageManager::setTranslateFromLanguageIndex(quint64 index)
{
    QMutexLocker lock(&m_mutex);
    storeIndexAndCode(m_translateFromLanguageIndex, index, kTranslateFromLanguageIndexKey, audioListLocked(), index,
                      kTranslateFromCodeKey);
}

void QXLanguageManager::setToLanguageIndex(quint64 index)
{
    QMutexLocker lock(&m_mutex);
    storeIndexAndCode(m_toLanguageIndex, index, kToLanguageIndexKey, toListLocked(), index, kToCodeKey);
}

void QXLanguageManager::setFromWordInputTag(quint64 tag)
{
    QMutexLocker lock(&m_mutex);
    if (tag == m_fromWordInputTag)
        return;
    if (tag == 0) {
        m_fromWordInputTag = 0;
        m_store.setValue(kFromWordInputKey, 0);
        m_store.setValue(kFromWordInputCodeKey, kAuto);
        m_store.sync();
        return;
    }
    // Tag n is entry n-1 of the target list; tag 0 is automatic detection.
    storeIndexAndCode(m_fromWordInputTag, tag, kFromWordInputKey, toListLocked(), tag - 1, kFromWordInputCodeKey);
}

void QXLanguageManager::setWordInputTag(quint64 tag)
{
    QMutexLocker lock(&m_mutex);
    storeIndexAndCode(m_wordInputTag, tag, kWordInputKey, toListLocked(), tag, kWordInputCodeKey);
}

void QXLanguageManager::setScreenshotsFromTag(quint64 tag)
{
    QMutexLocker lock(&m_mutex);
    const QJsonArray list =
        m_screenshotsTranslateFromLanguageArray.isEmpty() ? toListLocked() : m_screenshotsTranslateFromLanguageArray;
    storeIndexAndCode(m_screenshotsFromTag, tag, kScreenshotsFromTagKey, list, tag, kScreenshotsFromCodeKey);
}

void QXLanguageManager::setScreenshotsTag(quint64 tag)
{
    QMutexLocker lock(&m_mutex);
    storeIndexAndCode(m_screenshotsTag, tag, kScreenshotsTagKey, toListLocked(), tag, kScreenshotsToCodeKey);
}

void QXLanguageManager::setSearchEngineTag(quint64 tag)
{
    QMutexLocker lock(&m_mutex);
    storeIndexAndCode(m_searchEngineTag, tag, kSearchEngineKey, {}, 0, {});
}

void QXLanguageManager::setCopyCmdIndex(quint64 index)
{
    QMutexLocker lock(&m_mutex);
    storeIndexAndCode(m_copyCmdIndex, index, kCopyCmdIndexKey, {}, 0, {});
}

// --- code readers --------------------------------------------------------------

QString QXLanguageManager::readAudioLanguageCode()
{
    QMutexLocker lock(&m_mutex);
    return codeAt(audioListLocked(), audioLanguageIndex());
}

QString QXLanguageManager::readTranslateFromLanguageCode()
{
    QMutexLocker lock(&m_mutex);
    return codeAt(audioListLocked(), translateFromLanguageIndex());
}

QString QXLanguageManager::readToLanguageCode()
{
    QMutexLocker lock(&m_mutex);
    return codeAt(toListLocked(), m_toLanguageIndex);
}

QString QXLanguageManager::readFromHyperTranslateLanguageCode()
{
    QMutexLocker lock(&m_mutex);
    QJsonArray list = toListLocked();
    list.prepend(QJsonObject{{"code", kAuto}});
    return codeAt(list, m_fromWordInputTag);
}

QString QXLanguageManager::readToHyperTranslateLanguageCode()
{
    QMutexLocker lock(&m_mutex);
    return codeAt(toListLocked(), m_wordInputTag);
}

QString QXLanguageManager::readToScreenshotsTranslateFromLanguageCode()
{
    QMutexLocker lock(&m_mutex);
    return codeAt(m_screenshotsTranslateFromLanguageArray, m_screenshotsFromTag);
}

QString QXLanguageManager::readToScreenshotsTranslateLanguageCode()
{
    QMutexLocker lock(&m_mutex);
    return codeAt(toListLocked(), m_screenshotsTag);
}

QString QXLanguageManager::readUILanguageCode()
{
    QMutexLocker lock(&m_mutex);
    const quint64 index = m_uiLanguageIndex.load();
    if (index >= quint64(kUiLanguageCount)) {
        setUiLanguageIndex(0);
        return kZhCn;
    }
    return uiLanguageCode(index);
}

// --- name lists ----------------------------------------------------------------

QStringList QXLanguageManager::namesOf(const QJsonArray &list)
{
    QStringList names;
    for (const QJsonValue &item : list)
        names << displayNameForLanguageItem(item);
    return names;
}

QStringList QXLanguageManager::readUiLanguageNameList()
{
    return uiTitleLanguageArray();
}

QStringList QXLanguageManager::readAudioLanguageNameList()
{
    QMutexLocker lock(&m_mutex);
    return namesOf(audioListLocked());
}

QStringList QXLanguageManager::readToLanguageNameList()
{
    QMutexLocker lock(&m_mutex);
    return namesOf(toListLocked());
}

QStringList QXLanguageManager::readWordInputNameList()
{
    return readToLanguageNameList();
}

QStringList QXLanguageManager::readScreenshotsNameList()
{
    return readToLanguageNameList();
}

QStringList QXLanguageManager::readFromWordInputNameList()
{
    QMutexLocker lock(&m_mutex);
    return QStringList{localized(QStringLiteral("自动检测"))} + namesOf(toListLocked());
}

QStringList QXLanguageManager::readToLanguageFromNameList()
{
    QMutexLocker lock(&m_mutex);
    return namesOf(m_screenshotsTranslateFromLanguageArray);
}

QStringList QXLanguageManager::readScreenshotsFromNameList()
{
    return readToLanguageFromNameList();
}

QStringList QXLanguageManager::readSearchEngineNameList()
{
    return searchEngineArray();
}

// --- lookups -------------------------------------------------------------------

QStringList QXLanguageManager::languageDisplayNameKeys()
{
    QStringList keys;
    for (const UiLanguage &l : kUiLanguages)
        keys << QString::fromLatin1(l.nameKey);
    return keys;
}

QString QXLanguageManager::uiLanguageCode(quint64 index)
{
    return index < kUiLanguages.size() ? QString::fromLatin1(kUiLanguages[index].code) : QString();
}

QString QXLanguageManager::uiLanguageTitle(quint64 index)
{
    return index < kUiLanguages.size() ? QString::fromUtf8(kUiLanguages[index].title) : QString();
}

std::optional<QString> QXLanguageManager::nonEmptyName(const QJsonValue &value)
{
    if (value.isString() && !value.toString().isEmpty())
        return value.toString();
    return std::nullopt;
}

QString QXLanguageManager::codeOfItem(const QJsonValue &item)
{
    if (!item.isObject())
        return {};
    const QJsonValue code = item.toObject().value(QStringLiteral("code"));
    return code.isString() ? code.toString() : QString();
}

quint64 QXLanguageManager::indexForLanguageCode(const QString &code, const QJsonArray &list)
{
    if (code.isEmpty() || list.isEmpty())
        return kNotFound;
    const QString wanted = code.toUpper();
    QStringList codes;
    codes.reserve(list.size());
    for (const QJsonValue &item : list)
        codes << codeOfItem(item).toUpper();

    auto firstWhere = [&codes](auto pred) -> quint64 {
        for (qsizetype i = 0; i < codes.size(); ++i) {
            if (!codes[i].isEmpty() && pred(codes[i]))
                return quint64(i);
        }
        return kNotFound;
    };

    if (quint64 i = firstWhere([&](const QString &c) { return c == wanted; }); i != kNotFound)
        return i;
    if (wanted.startsWith(QLatin1String("EN")))
        return firstWhere([](const QString &c) { return c.startsWith(QLatin1String("EN")); });
    if (wanted.startsWith(QLatin1String("ZH")) || wanted == QLatin1String("CN") || wanted == QLatin1String("CHS")) {
        const quint64 i = firstWhere([](const QString &c) {
            return c == QLatin1String("ZH_CN") || c == QLatin1String("ZH-CN") || c == QLatin1String("ZHCN");
        });
        if (i != kNotFound)
            return i;
        return firstWhere([](const QString &c) { return c.startsWith(QLatin1String("ZH")); });
    }
    return kNotFound;
}

std::optional<QJsonObject> QXLanguageManager::languageItemMatchingCode(const QString &code, const QJsonArray &list)
{
    const quint64 i = indexForLanguageCode(code, list);
    if (i == kNotFound)
        return std::nullopt;
    return list.at(qsizetype(i)).toObject(); // only items with a code match, and those are objects
}

QString QXLanguageManager::displayNameForLanguageItem(const QJsonValue &item)
{
    if (!item.isObject())
        return {};
    QMutexLocker lock(&m_mutex);
    const quint64 ui = m_uiLanguageIndex.load();
    const QString key = QString::fromLatin1(kUiLanguages[std::min<quint64>(ui, kUiLanguages.size() - 1)].nameKey);
    const QJsonObject d = item.toObject();
    const QString nameEn = QStringLiteral("nameEn");

    if (auto name = nonEmptyName(d.value(key)))
        return *name;
    const QString code = codeOfItem(d);
    std::optional<QJsonObject> match = languageItemMatchingCode(code, toListLocked());
    if (!match)
        match = languageItemMatchingCode(code, audioListLocked());
    if (match) {
        if (auto name = nonEmptyName(match->value(key)))
            return *name;
        if (ui >= 2) {
            if (auto name = nonEmptyName(match->value(nameEn)))
                return *name;
        }
    }
    if (ui >= 2) {
        if (auto name = nonEmptyName(d.value(nameEn)))
            return *name;
    }
    return nonEmptyName(d.value(QStringLiteral("name"))).value_or(QString());
}

// --- conversions ---------------------------------------------------------------

QString QXLanguageManager::convertTranslateCodeWithFromLanguageCode(const QString &code)
{
    if (code == QLatin1String("ZH_CN") || code == QLatin1String("ZH_SC"))
        return QStringLiteral("zh-Hans");
    if (code == QLatin1String("KO_KR"))
        return QStringLiteral("ko");
    if (code == QLatin1String("ZH_TW"))
        return QStringLiteral("zh-Hant");
    if (code == QLatin1String("ZH_GD"))
        return QStringLiteral("yue");
    if (code == QLatin1String("EN_US"))
        return QStringLiteral("en");
    return {};
}

quint64 QXLanguageManager::convertTranslateIndexWithFromLanguageCode(const QString &code)
{
    const QString translator = convertTranslateCodeWithFromLanguageCode(code);
    const qsizetype i = translator.isEmpty() ? -1 : m_microsoftLanguageArray.indexOf(translator);
    return i >= 0 ? quint64(i) : toLanguageIndex();
}

bool QXLanguageManager::isSameLanguageFromLanguageCode(const QString &fromCode, const QString &toCode)
{
    return convertTranslateCodeWithFromLanguageCode(fromCode) == toCode;
}

// --- stored codes ----------------------------------------------------------------

void QXLanguageManager::ensureTranslationLanguageCodeDefaults()
{
    QMutexLocker lock(&m_mutex);
    auto storePairDefaults = [this] {
        m_store.setValue(kTranslateFromCodeKey, kZhCn);
        m_store.setValue(kFromWordInputCodeKey, kZhCn);
        m_store.setValue(kScreenshotsFromCodeKey, kZhCn);
        m_store.setValue(kToCodeKey, kEnUs);
        m_store.setValue(kWordInputCodeKey, kEnUs);
        m_store.setValue(kScreenshotsToCodeKey, kEnUs);
    };
    if (!m_store.boolValue(kMigratedV2Key)) {
        m_store.setValue(kAudioCodeKey, kZhCn);
        storePairDefaults();
        m_store.setValue(kMigratedV2Key, true);
        m_store.setValue(kZhToEnV3Key, true);
    } else {
        auto fill = [this](const QString &key, const QString &value) {
            if (!m_store.contains(key))
                m_store.setValue(key, value);
        };
        fill(kAudioCodeKey, kZhCn);
        fill(kTranslateFromCodeKey, storedCode(kAudioCodeKey, kZhCn));
        fill(kToCodeKey, kEnUs);
        fill(kFromWordInputCodeKey, kZhCn);
        fill(kWordInputCodeKey, kEnUs);
        fill(kScreenshotsFromCodeKey, kZhCn);
        fill(kScreenshotsToCodeKey, kEnUs);
        // Installations that passed the first migration before this one existed get
        // their pairs reset to Chinese-to-English once more.
        if (!m_store.boolValue(kZhToEnV3Key)) {
            storePairDefaults();
            m_store.setValue(kZhToEnV3Key, true);
        }
    }
    m_store.sync();
}

QString QXLanguageManager::storedCode(const QString &key, const QString &fallback) const
{
    const QString code = m_store.stringValue(key);
    return code.isEmpty() ? fallback : code;
}

void QXLanguageManager::applyTranslationLanguageIndicesFromStoredCodes()
{
    QMutexLocker lock(&m_mutex);
    ensureTranslationLanguageCodeDefaults();
    const QJsonArray audio = audioListLocked();
    const QJsonArray to = toListLocked();
    const QJsonArray screenshotsFrom =
        m_screenshotsTranslateFromLanguageArray.isEmpty() ? to : m_screenshotsTranslateFromLanguageArray;

    // A code that is not found keeps the held index: the list may simply lack it for now.
    auto apply = [this](quint64 &field, const QString &indexKey, const QString &code, const QJsonArray &list,
                        quint64 offset) {
        const quint64 i = indexForLanguageCode(code, list);
        if (i == kNotFound)
            return;
        field = i + offset;
        m_store.setValue(indexKey, QVariant::fromValue<qulonglong>(field));
    };

    const QString audioCode = storedCode(kAudioCodeKey, kZhCn);
    apply(m_audioLanguageIndex, kAudioLanguageIndexKey, audioCode, audio, 0);
    apply(m_translateFromLanguageIndex, kTranslateFromLanguageIndexKey, storedCode(kTranslateFromCodeKey, audioCode),
          audio, 0);
    apply(m_toLanguageIndex, kToLanguageIndexKey, storedCode(kToCodeKey, kEnUs), to, 0);
    if (!to.isEmpty()) {
        const QString fromWord = storedCode(kFromWordInputCodeKey, kZhCn);
        if (fromWord.compare(kAuto, Qt::CaseInsensitive) == 0) {
            m_fromWordInputTag = 0;
            m_store.setValue(kFromWordInputKey, 0);
        } else {
            apply(m_fromWordInputTag, kFromWordInputKey, fromWord, to, 1);
        }
    }
    apply(m_wordInputTag, kWordInputKey, storedCode(kWordInputCodeKey, kEnUs), to, 0);
    apply(m_screenshotsFromTag, kScreenshotsFromTagKey, storedCode(kScreenshotsFromCodeKey, kZhCn), screenshotsFrom, 0);
    apply(m_screenshotsTag, kScreenshotsTagKey, storedCode(kScreenshotsToCodeKey, kEnUs), to, 0);
    m_store.sync();
}
