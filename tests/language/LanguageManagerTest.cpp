#include "QXLanguageManager.h"
#include "StoreBackends.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

QJsonArray parse(const char *json)
{
    return QJsonDocument::fromJson(QByteArray(json)).array();
}

// The manager as the application builds it at launch.
class LanguageManagerOverStore : public StoreBackendTest {
protected:
    std::unique_ptr<QXLanguageManager> manager;

    void launch()
    {
        manager = std::make_unique<QXLanguageManager>(*store);
        manager->setAsrLanguageType(1);
    }
    void relaunch()
    {
        manager.reset();
        relaunchStore();
        launch();
    }
    qint64 stored(const char *key) const { return store->intValue(key); }
    QString storedText(const char *key) const { return store->stringValue(key); }
};

TEST_P(LanguageManagerOverStore, FreshInstallStartsChineseToEnglishAndKeepsIt)
{
    launch();
    for (const char *key : {"audioLanguageCodeKey", "translateFromLanguageCodeKey", "fromWordInputLanguageCodeKey",
                            "screenshotsFromLanguageCodeKey"})
        EXPECT_EQ(storedText(key), "ZH_CN") << key;
    for (const char *key : {"toLanguageCodeKey", "wordInputLanguageCodeKey", "screenshotsToLanguageCodeKey"})
        EXPECT_EQ(storedText(key), "EN_US") << key;
    EXPECT_TRUE(store->boolValue("QXTranslationLanguageCodeDefaultsMigratedKey_v2"));
    EXPECT_TRUE(store->boolValue("QXTranslationPairsDefaultZhToEnKey_v3"));

    auto expectFreshState = [&] {
        EXPECT_EQ(manager->audioLanguageArr().size(), 6);
        EXPECT_EQ(manager->toLanguageArr().size(), 6);
        EXPECT_EQ(stored("audioLanguageIndexKey"), 0);
        EXPECT_EQ(stored("translateFromLanguageIndexKey"), 0);
        EXPECT_EQ(stored("toLanguageIndexKey"), 5);
        EXPECT_EQ(stored("QX_From_Word_Input_Key"), 1);
        EXPECT_EQ(stored("QX_Word_Input_Key"), 5);
        EXPECT_EQ(stored("QX_ScreenshotsFromTag_Key"), 0);
        EXPECT_EQ(stored("QX_ScreenshotsTag_Key"), 5);
        EXPECT_EQ(manager->readAudioLanguageCode(), "ZH_CN");
        EXPECT_EQ(manager->readTranslateFromLanguageCode(), "ZH_CN");
        EXPECT_EQ(manager->readToLanguageCode(), "EN_US");
        EXPECT_EQ(manager->readFromHyperTranslateLanguageCode(), "ZH_CN");
        EXPECT_EQ(manager->readToHyperTranslateLanguageCode(), "EN_US");
        EXPECT_EQ(manager->readToScreenshotsTranslateFromLanguageCode(), "ZH_CN"); // no screenshot list yet
        EXPECT_EQ(manager->readToScreenshotsTranslateLanguageCode(), "EN_US");
        EXPECT_EQ(manager->readUILanguageCode(), "ZH_CN");
    };
    expectFreshState();
    relaunch(); // the migrations ran once; a relaunch changes nothing
    expectFreshState();
}

TEST_P(LanguageManagerOverStore, ChoicesSurviveRelaunchByCode)
{
    launch();
    manager->setUiLanguageIndex(3);
    manager->setAudioLanguageIndex(2); // ZH_TW
    manager->setToLanguageIndex(1);    // KO_KR
    manager->setWordInputTag(4);       // ZH_GD
    manager->setScreenshotsTag(3);     // ZH_SC
    manager->setFromWordInputTag(6);   // entry 5: EN_US
    manager->setSearchEngineTag(2);
    EXPECT_EQ(storedText("audioLanguageCodeKey"), "ZH_TW");
    EXPECT_EQ(storedText("fromWordInputLanguageCodeKey"), "EN_US");

    relaunch();
    EXPECT_EQ(manager->uiLanguageIndex(), 3u);
    EXPECT_EQ(manager->readUILanguageCode(), "JA_JP");
    EXPECT_EQ(manager->readAudioLanguageCode(), "ZH_TW");
    EXPECT_EQ(manager->readToLanguageCode(), "KO_KR");
    EXPECT_EQ(manager->readToHyperTranslateLanguageCode(), "ZH_GD");
    EXPECT_EQ(manager->readToScreenshotsTranslateLanguageCode(), "ZH_SC");
    EXPECT_EQ(manager->readFromHyperTranslateLanguageCode(), "EN_US");
    EXPECT_EQ(manager->searchEngineTag(), 2u);

    // Automatic detection is stored as "auto" and re-application keeps it.
    manager->setFromWordInputTag(0);
    EXPECT_EQ(storedText("fromWordInputLanguageCodeKey"), "auto");
    manager->applyTranslationLanguageIndicesFromStoredCodes();
    EXPECT_EQ(manager->fromWordInputTag(), 0u);
    relaunch();
    EXPECT_EQ(manager->fromWordInputTag(), 0u);
    EXPECT_EQ(manager->readFromHyperTranslateLanguageCode(), "auto");
}

TEST_P(LanguageManagerOverStore, ServerListIsMatchedByCodeAndKept)
{
    launch();
    manager->setToLanguageArr(parse(R"([{"code":"JA_JP"},{"code":"KO_KR"},{"code":"en_us"}])"));
    auto expectMatched = [&] {
        EXPECT_EQ(manager->toLanguageIndex(), 2u);
        EXPECT_EQ(manager->wordInputTag(), 2u);
        EXPECT_EQ(manager->screenshotsTag(), 2u);
        EXPECT_EQ(manager->readToLanguageCode(), "en_us"); // the item's own spelling
        // No Chinese entry: the word-input source keeps its tag, now pointing at JA_JP.
        EXPECT_EQ(manager->fromWordInputTag(), 1u);
        EXPECT_EQ(manager->readFromHyperTranslateLanguageCode(), "JA_JP");
        EXPECT_EQ(manager->screenshotsFromTag(), 0u);
    };
    expectMatched();
    relaunch();
    EXPECT_EQ(manager->toLanguageArr().size(), 3);
    expectMatched();

    // A stored code of another English variant still finds the list's English entry.
    store->setValue("toLanguageCodeKey", QString("EN_GB"));
    manager->setToLanguageArr(parse(R"([{"code":"EN_US"},{"code":"JA_JP"}])"));
    EXPECT_EQ(manager->toLanguageIndex(), 0u);
    // A code with no entry keeps the previous index.
    manager->setToLanguageIndex(1);
    store->setValue("toLanguageCodeKey", QString("FR_FR"));
    manager->setToLanguageArr(parse(R"([{"code":"EN_US"},{"code":"JA_JP"},{"code":"KO_KR"}])"));
    EXPECT_EQ(manager->toLanguageIndex(), 1u);
}

TEST_P(LanguageManagerOverStore, UntrustedServerListsNeverBreakTheChoices)
{
    launch();
    // Items that are not objects and codes that are not text count as "no code".
    manager->setAudioLanguageArr(parse(R"([7, "ZH_CN", {"code":5}, null, {"code":"zh_cn","name":"中文"}])"));
    EXPECT_EQ(manager->audioLanguageIndex(), 4u);
    EXPECT_EQ(manager->readAudioLanguageCode(), "zh_cn");
    manager->setAudioLanguageIndex(2);                      // an item without a usable code
    EXPECT_EQ(storedText("audioLanguageCodeKey"), "ZH_CN"); // the code key is left alone
    EXPECT_EQ(manager->readAudioLanguageCode(), "ZH_CN");
    EXPECT_EQ(manager->readAudioLanguageNameList(), QStringList({"", "", "", "", QString::fromUtf8("中文")}));

    // An empty list from the server falls back to the built-in six, now and after a relaunch.
    manager->setToLanguageArr({});
    EXPECT_EQ(manager->toLanguageArr(), QXLanguageManager::builtInLanguageList());
    relaunch();
    EXPECT_EQ(manager->toLanguageArr(), QXLanguageManager::builtInLanguageList());
    EXPECT_EQ(manager->readToLanguageCode(), "EN_US");

    // A stored list that is not JSON reads as absent.
    store->setValue("audioLanguageArrKey", QString("{broken"));
    relaunch();
    EXPECT_EQ(manager->audioLanguageArr(), QXLanguageManager::builtInLanguageList());
}

TEST_P(LanguageManagerOverStore, OutOfRangeIndices)
{
    store->setValue("uiLanguageIndexKey", 25); // from an older store
    store->setValue("audioLanguageIndexKey", 7);
    store->setValue("QX_ScreenshotsTag_Key", 40);
    store->setValue("screenshotsToLanguageCodeKey", QString("XX_XX"));
    store->setValue("QXTranslationLanguageCodeDefaultsMigratedKey_v2", true);
    store->setValue("QXTranslationPairsDefaultZhToEnKey_v3", true);
    store->setValue("audioLanguageCodeKey", QString("XX_XX"));
    launch();

    EXPECT_EQ(manager->audioLanguageIndex(), 0u);  // read as 0 ...
    EXPECT_EQ(stored("audioLanguageIndexKey"), 7); // ... but not stored
    EXPECT_EQ(manager->readToScreenshotsTranslateLanguageCode(), "ZH_CN");

    EXPECT_EQ(manager->uiLanguageIndex(), 25u);
    EXPECT_EQ(manager->readUILanguageCode(), "ZH_CN");
    EXPECT_EQ(manager->uiLanguageIndex(), 0u);
    EXPECT_EQ(stored("uiLanguageIndexKey"), 0);
    relaunch();
    EXPECT_EQ(manager->uiLanguageIndex(), 0u);
}

// The one-time migrations of the stored codes, each a row.
TEST_P(LanguageManagerOverStore, CodeMigrations)
{
    struct Row {
        const char *what;
        QVariantMap before;
        QVariantMap after;
    };
    const QString zh = "ZH_CN", en = "EN_US";
    const std::vector<Row> rows = {
        {"fresh store",
         {},
         {{"audioLanguageCodeKey", zh},
          {"translateFromLanguageCodeKey", zh},
          {"toLanguageCodeKey", en},
          {"QXTranslationPairsDefaultZhToEnKey_v3", true}}},
        {"v2 without v3 resets the pairs once, speech code kept",
         {{"QXTranslationLanguageCodeDefaultsMigratedKey_v2", true},
          {"toLanguageCodeKey", "JA_JP"},
          {"audioLanguageCodeKey", "ZH_TW"},
          {"translateFromLanguageCodeKey", "KO_KR"}},
         {{"audioLanguageCodeKey", "ZH_TW"},
          {"translateFromLanguageCodeKey", zh},
          {"fromWordInputLanguageCodeKey", zh},
          {"screenshotsFromLanguageCodeKey", zh},
          {"toLanguageCodeKey", en},
          {"wordInputLanguageCodeKey", en},
          {"screenshotsToLanguageCodeKey", en},
          {"QXTranslationPairsDefaultZhToEnKey_v3", true}}},
        {"both flags: absent codes are filled, the source from the speech code",
         {{"QXTranslationLanguageCodeDefaultsMigratedKey_v2", true},
          {"QXTranslationPairsDefaultZhToEnKey_v3", true},
          {"audioLanguageCodeKey", "ZH_TW"},
          {"toLanguageCodeKey", "KO_KR"}},
         {{"translateFromLanguageCodeKey", "ZH_TW"}, {"toLanguageCodeKey", "KO_KR"}, {"wordInputLanguageCodeKey", en}}},
        {"v2 unset overwrites a stored speech code too",
         {{"audioLanguageCodeKey", "KO_KR"}},
         {{"audioLanguageCodeKey", zh}, {"QXTranslationLanguageCodeDefaultsMigratedKey_v2", true}}},
    };
    int n = 0;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        manager.reset();
        fileName = QStringLiteral("row%1.ini").arg(++n);
        store = open(); // a fresh file or memory store for each row
        for (auto it = row.before.cbegin(); it != row.before.cend(); ++it)
            store->setValue(it.key(), it.value());
        launch();
        relaunch(); // a second launch must not migrate again
        for (auto it = row.after.cbegin(); it != row.after.cend(); ++it)
            EXPECT_EQ(store->value(it.key()).toString(), it.value().toString()) << qPrintable(it.key());
    }
}

QX_INSTANTIATE_OVER_STORES(LanguageManagerOverStore);

TEST(LanguageNormaliser, MatchesCodesLikeTheServerWritesThem)
{
    const QJsonArray builtIn = QXLanguageManager::builtInLanguageList();
    struct Row {
        const char *code;
        QJsonArray list;
        quint64 expected;
    };
    const quint64 none = QXLanguageManager::kNotFound;
    const Row rows[] = {
        {"CHS", parse(R"([{"code":"KO_KR"},{"code":"zh-cn"}])"), 1},
        {"EN_GB", builtIn, 5},
        {"ZH_HK", builtIn, 0},
        {"CN", parse(R"([{"code":"ZH_TW"}])"), 0},
        {"zh_tw", builtIn, 2},
        {"ko_kr", builtIn, 1},
        {"FR_FR", builtIn, none},
        {"", builtIn, none},
        {"ZH_CN", {}, none},
        {"EN_US", parse(R"([1, {"code":null}, {"name":"x"}, {"code":"en"}])"), 3},
    };
    for (const Row &row : rows)
        EXPECT_EQ(QXLanguageManager::indexForLanguageCode(row.code, row.list), row.expected) << row.code;
    EXPECT_EQ(none, quint64(9223372036854775807LL));
    EXPECT_FALSE(QXLanguageManager::languageItemMatchingCode("", builtIn));
    EXPECT_EQ(QXLanguageManager::languageItemMatchingCode("chs", builtIn)->value("code").toString(), "ZH_CN");
}

TEST(LanguageDisplayNames, FollowTheInterfaceLanguage)
{
    MemoryKeyValueStore store;
    QXLanguageManager manager(store);
    struct Row {
        quint64 uiIndex;
        const char *item;
        const char *expected;
    };
    const Row rows[] = {
        {3, R"({"code":"KO_KR"})", "韓国語"},
        {4, R"({"code":"KO_KR"})", "Korean"},                   // no Vietnamese name anywhere: English
        {1, R"({"code":"XX","name":"甲","nameEn":"A"})", "甲"}, // Chinese interfaces fall back to "name"
        {2, R"({"code":"XX","name":"甲"})", "甲"},
        {2, R"({"code":"XX","name":"甲","nameEn":"A"})", "A"},
        {20, R"({"code":"KO_KR"})", "Korean"}, // beyond the table: the last key
        {17, R"({"code":"KO_KR","nameBg_bg":"корейски"})", "корейски"},
        {0, R"({"code":7})", ""},
    };
    for (const Row &row : rows) {
        store.setValue("uiLanguageIndexKey", qulonglong(row.uiIndex));
        manager.setAsrLanguageType(1);
        const QJsonValue item = QJsonDocument::fromJson(row.item).object();
        EXPECT_EQ(manager.displayNameForLanguageItem(item), QString::fromUtf8(row.expected)) << row.item;
    }
    EXPECT_EQ(manager.displayNameForLanguageItem(QJsonValue("ZH_CN")), "");

    store.setValue("uiLanguageIndexKey", 0);
    manager.setAsrLanguageType(1);
    EXPECT_EQ(manager.readFromWordInputNameList(),
              QString::fromUtf8("自动检测,中文简体,韩语,中文繁体,四川话,粤语,英语（美国）").split(','));
}

TEST(LanguageTables, InterfaceRowsAndTranslatorCodes)
{
    const QStringList keys = QXLanguageManager::languageDisplayNameKeys();
    ASSERT_EQ(keys.size(), 18);
    EXPECT_EQ(QXLanguageManager::uiLanguageCode(16), "MAY_MAY");
    EXPECT_EQ(keys[16], "nameMay_may");
    EXPECT_EQ(QXLanguageManager::uiLanguageCode(6), "AR_EG");
    EXPECT_EQ(keys[6], "nameAr_sa");
    EXPECT_EQ(QXLanguageManager::uiLanguageCode(18), "");

    MemoryKeyValueStore store;
    QXLanguageManager manager(store);
    EXPECT_EQ(manager.microsoftLanguageArray().size(), 64);
    EXPECT_EQ(QXLanguageManager::convertTranslateCodeWithFromLanguageCode("ZH_SC"), "zh-Hans");
    EXPECT_EQ(QXLanguageManager::convertTranslateCodeWithFromLanguageCode("ZH_GD"), "yue");
    EXPECT_EQ(QXLanguageManager::convertTranslateCodeWithFromLanguageCode("JA_JP"), "");
    EXPECT_EQ(manager.convertTranslateIndexWithFromLanguageCode("ZH_GD"), 25u);
    EXPECT_EQ(manager.convertTranslateIndexWithFromLanguageCode("KO_KR"), 12u);
    EXPECT_EQ(manager.convertTranslateIndexWithFromLanguageCode("JA_JP"), manager.toLanguageIndex());
    EXPECT_TRUE(QXLanguageManager::isSameLanguageFromLanguageCode("ZH_TW", "zh-Hant"));
}

// Every text the manager shows has an English entry in the shipped table.
TEST(LanguageTables, EnglishTableCoversTheManagersTexts)
{
    MemoryKeyValueStore store;
    QXLanguageManager manager(store);
    manager.setAsrLanguageType(1);
    const QStringList sources = manager.readUiLanguageNameList() + manager.readSearchEngineNameList()
                                + QStringList{manager.readFromWordInputNameList().first()};
    ASSERT_EQ(sources.size(), 22);

    manager.setUiLanguageIndex(2);
    manager.shouldRefreshData();
    const QStringList english = manager.readUiLanguageNameList() + manager.readSearchEngineNameList()
                                + QStringList{manager.readFromWordInputNameList().first()};
    for (qsizetype i = 0; i < sources.size(); ++i)
        EXPECT_NE(english[i], sources[i]) << "no English text for " << sources[i].toStdString();
    EXPECT_EQ(english[2], "English");
    EXPECT_EQ(english.last(), "Auto Detect");
}

} // namespace
