// The application as the root builds it: every page the tab bar can show is a real
// page, and every device handler reaches a real service above it, not a stand-in.
#include "AppWorld.h"

#include "PageContext.h"
#include "windows/PageFactory.h"
#include "windows/PlaceholderPage.h"
#include "windows/TabBarEntries.h"

#include "views/QXBaseViewController.h"

namespace {

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
        EXPECT_FALSE(dynamic_cast<PlaceholderPage *>(page.get())) << "page " << tag << " is a placeholder";
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
