// The application as the root builds it: every page the tab bar can show is a real
// page, and every device handler reaches a real service above it, not a stand-in.
#include "AppWorld.h"

#include "PageContext.h"
#include "windows/PageFactory.h"
#include "windows/PlaceholderPage.h"
#include "windows/TabBarEntries.h"

#include "views/QXBaseViewController.h"

#include <set>

namespace {

// Pages whose work has not landed yet, by what they wait for; each goes
// when its page does.
const std::set<int> kPagesStillPlaceholders{
    viewtag::kMouseSetting, // the device settings page
};

class WholeAppPages : public AppTest {};
class WholeAppStandIns : public AppTest {};

TEST_F(WholeAppPages, EveryPageNumberMakesARealPage)
{
    AppWorld world;
    CompanionApp app(world.options());
    PageFactory &factory = app.pageFactory();
    for (int tag = 0; tag < viewtag::kCount; ++tag) {
        const std::unique_ptr<QXBaseViewController> page = factory.makePage(tag);
        ASSERT_TRUE(page) << "page " << tag;
        const bool placeholder = dynamic_cast<PlaceholderPage *>(page.get()) != nullptr;
        EXPECT_EQ(placeholder, kPagesStillPlaceholders.count(tag) == 1)
            << "page " << tag << (placeholder ? " is a placeholder" : " is real now: drop it from the exceptions");
    }
    EXPECT_FALSE(factory.makePage(viewtag::kCount));
}

TEST_F(WholeAppStandIns, EveryDeviceSeamReachesARealService)
{
    AppWorld world;
    CompanionApp app(world.options());
    app.configData();
    settle();
    EXPECT_EQ(app.seams().standIns(), QStringList{});
}

} // namespace
