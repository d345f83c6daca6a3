#include "launch/FirstRunLanguage.h"
#include "QXLanguageManager.h"
#include "StoreBackends.h"

#include <gtest/gtest.h>

namespace {

class FirstRunLanguage : public StoreBackendTest {
protected:
    std::unique_ptr<QXLanguageManager> languages;

    // What the application does with the store at every start.
    void launch()
    {
        languages.reset();
        relaunchStore();
        languages = std::make_unique<QXLanguageManager>(*store);
        applyFirstRunInterfaceLanguage(*store, *languages);
    }
};

TEST_P(FirstRunLanguage, StartsInSimplifiedChineseOnceThenKeepsTheUsersChoice)
{
    store->setValue("uiLanguageIndexKey", 5); // left by something before the first run
    launch();
    EXPECT_EQ(languages->uiLanguageIndex(), 0u);
    EXPECT_EQ(store->intValue("uiLanguageIndexKey"), 0);
    EXPECT_TRUE(store->boolValue("setSelectLanguage"));

    languages->setUiLanguageIndex(2); // the user picks English
    launch();
    EXPECT_EQ(languages->uiLanguageIndex(), 2u);
    EXPECT_EQ(languages->readUILanguageCode(), "EN_US");
    launch();
    EXPECT_EQ(languages->readUILanguageCode(), "EN_US");
}

TEST_P(FirstRunLanguage, EmptyStoreWritesOnlyTheFlag)
{
    launch();
    EXPECT_EQ(languages->readUILanguageCode(), "ZH_CN");
    EXPECT_FALSE(store->contains("uiLanguageIndexKey")); // index 0 is already held
    EXPECT_TRUE(store->boolValue("setSelectLanguage"));
}

QX_INSTANTIATE_OVER_STORES(FirstRunLanguage);

} // namespace
