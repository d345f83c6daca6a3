// The header seam: a page shows the account header it gets from its context, and the
// main window's refresh of the account page reaches that header.
#include "AccountHeaders.h"
#include "MineHeaderView.h"
#include "PageWorld.h"
#include "views/QXBaseViewController.h"
#include "windows/PageFactory.h"
#include "windows/TabBarEntries.h"

namespace {
// Shows the header at the top of its view, as the account page does.
class HeaderPage final : public QXBaseViewController {
public:
    explicit HeaderPage(const PageContext &context) : m_context(context) {}

protected:
    QWidget *loadView() override
    {
        auto *view = new QWidget;
        m_context.accountHeaders.makeAccountHeader(m_context, view);
        return view;
    }

private:
    PageContext m_context;
};

std::unique_ptr<QXBaseViewController> makeHeaderPage(const PageContext &context)
{
    return std::make_unique<HeaderPage>(context);
}
const PageEntry kHeaderPage[] = {{viewtag::kMine, "MineViewController", makeHeaderPage}};
} // namespace

TEST(Acc3HeaderSeam, TheAccountPageRefreshReachesTheHeaderItShows)
{
    PageWorld world;
    PageFactory pages(world.context(), {PageTable(kHeaderPage)});
    std::unique_ptr<QXBaseViewController> page = pages.makePage(viewtag::kMine);
    pages.getUserInfo(*page);
    pages.getUserInfo(*page);
    ASSERT_EQ(world.accountHeaders.made.size(), 1u);
    EXPECT_EQ(static_cast<FakeAccountHeaderView *>(world.accountHeaders.made[0].data())->refreshes, 2);

    // The account pages' maker, which the root hands over: the header on its host.
    AccountHeaders headers;
    QWidget host;
    AccountHeaderView *header = headers.makeAccountHeader(world.context(), &host);
    EXPECT_TRUE(qobject_cast<MineHeaderView *>(header));
    EXPECT_EQ(header->parentWidget(), &host);
}
